# Helpers shared by every target of the project.

# dbkeel_embed_version(<target> NAME <n> VERSION <v> DESCRIPTION <d>)
# Embeds the version texts that the host library's GetVers reads back from the file.
function(dbkeel_embed_version target)
  cmake_parse_arguments(V "" "NAME;VERSION;DESCRIPTION" "" ${ARGN})
  if(NOT V_VERSION)
    set(V_VERSION ${PROJECT_VERSION})
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.c)
  set(DBKEEL_VERSION_NAME "${V_NAME}")
  set(DBKEEL_VERSION_TEXT "${V_VERSION}")
  set(DBKEEL_VERSION_DESCRIPTION "${V_DESCRIPTION}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_stamp.c.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

# dbkeel_add_test(<name> SOURCES <files...> LIBS <libs...> [WINDOW])
# One GoogleTest program per subsystem, registered with ctest. WINDOW tests get one
# QApplication (tests/support/TestApplication.cpp) and run on Qt's offscreen platform.
function(dbkeel_add_test name)
  cmake_parse_arguments(T "WINDOW" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} dbkeel_testsupport GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set(env "DBKEEL_BUILD_BIN=${CMAKE_BINARY_DIR}/bin" "DBKEEL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(T_WINDOW)
    target_link_libraries(${name} PRIVATE dbkeel_testapp)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
endfunction()
