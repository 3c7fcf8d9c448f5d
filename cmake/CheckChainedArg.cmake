# Refuses chained QString::arg calls in the program's sources: in text.arg(a).arg(b) a "%1" inside a
# is replaced again by the second call, so user text can rewrite a statement. One multi-argument arg,
# or the value helpers of core/SqlValue.h, fill every placeholder in one pass.
# Usage: cmake -DSOURCE_DIR=<tree> -P CheckChainedArg.cmake

set(folders src tools components agent hostcfg)
set(sources "")
foreach(folder ${folders})
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.c)
  list(APPEND sources ${found})
endforeach()

# An argument list with up to three levels of nested parentheses; string literals are emptied first,
# so parentheses inside them do not count.
set(inner "[^()]*")
set(level2 "([^()]|\\(${inner}\\))*")
set(level3 "([^()]|\\(${level2}\\))*")
set(arguments "([^()]|\\(${level3}\\))*")
set(chained "\\.arg\\(${arguments}\\)[ \t\r\n]*\\.arg\\(")

set(violations "")
foreach(source ${sources})
  file(READ ${source} text)
  string(REGEX REPLACE "\\\\." "" text "${text}")  # escapes, so that \" does not end a literal
  string(REGEX REPLACE "\"[^\"\n]*\"" "\"\"" text "${text}")
  string(REGEX REPLACE "'[^'\n]'" "''" text "${text}")
  if(text MATCHES "${chained}")
    file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
    string(REGEX REPLACE "[ \t\r\n]+" " " call "${CMAKE_MATCH_0}")
    list(APPEND violations "${name}: chained .arg( in \"${call}\"")
  endif()
endforeach()

if(violations)
  foreach(violation ${violations})
    message("${violation}")
  endforeach()
  message(FATAL_ERROR "Chained QString::arg calls found")
endif()
message(STATUS "No chained QString::arg calls in ${SOURCE_DIR}")
