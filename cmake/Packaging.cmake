# Install rules and the two Debian packages (scripts/package): `dbkeel`, the workstation program with
# its tools, libraries, components, schema and demo maker, and `dbkeel-agent`, the station agent with
# its service and configuration. Installed paths follow the Debian layout; the program finds its
# private libraries in ../lib/dbkeel beside its folder.

include(GNUInstallDirs)
set(DBKEEL_PRIVATE_LIBDIR lib/dbkeel)
set(DBKEEL_DATADIR ${CMAKE_INSTALL_DATADIR}/dbkeel)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# dbkeel_install_manual(<page> COMPONENT <c>): the page gzipped into man<section>.
function(dbkeel_install_manual page component)
  string(REGEX MATCH "[0-9]$" section ${page})
  set(gzipped ${generated}/${page}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND gzip -9nc ${packaging}/man/${page} > ${gzipped}
    DEPENDS ${packaging}/man/${page} VERBATIM)
  add_custom_target(manual_${page} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endfunction()

# The changelog and copyright every package carries.
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
add_custom_command(OUTPUT ${generated}/changelog.gz
  COMMAND gzip -9nc ${generated}/changelog > ${generated}/changelog.gz
  DEPENDS ${generated}/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${generated}/changelog.gz)
function(dbkeel_install_package_docs package component)
  install(FILES ${packaging}/copyright ${generated}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endfunction()

# --- dbkeel ---------------------------------------------------------------------------------------
install(TARGETS Dbkeel dbkeel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(TARGETS HostCfg LIBRARY DESTINATION ${DBKEEL_PRIVATE_LIBDIR} COMPONENT program)
get_property(components GLOBAL PROPERTY DBKEEL_COMPONENTS)
install(TARGETS ${components} LIBRARY DESTINATION ${DBKEEL_PRIVATE_LIBDIR}/components COMPONENT program)
install(FILES schema/sqlite.sql schema/sqlserver.sql schema/demo-data.sql
  DESTINATION ${DBKEEL_DATADIR}/schema COMPONENT program)
install(PROGRAMS scripts/make-demo-db scripts/demo-agents DESTINATION ${DBKEEL_DATADIR}/scripts COMPONENT program)
foreach(link "dbkeel:Dbkeel" "dbkeel-make-demo:../share/dbkeel/scripts/make-demo-db")
  string(REPLACE ":" ";" pair ${link})
  list(GET pair 0 name)
  list(GET pair 1 target)
  file(CREATE_LINK ${target} ${generated}/${name} SYMBOLIC)
  install(FILES ${generated}/${name} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
endforeach()
install(FILES ${packaging}/dbkeel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${packaging}/dbkeel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  COMPONENT program)
foreach(page Dbkeel.1 dbkeel-cli.1 dbkeel-make-demo.1)
  dbkeel_install_manual(${page} program)
endforeach()
file(CREATE_LINK Dbkeel.1.gz ${generated}/dbkeel.1.gz SYMBOLIC)  # the page of the lower-case link
install(FILES ${generated}/dbkeel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
dbkeel_install_package_docs(dbkeel program)

# --- dbkeel-agent ---------------------------------------------------------------------------------
install(TARGETS dbkeel-agent RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT agent)
install(FILES ${packaging}/dbkeel-agent.service DESTINATION /lib/systemd/system COMPONENT agent)
install(FILES ${packaging}/dbkeel-agent.conf DESTINATION /etc COMPONENT agent)
dbkeel_install_manual(dbkeel-agent.8 agent)
dbkeel_install_package_docs(dbkeel-agent agent)

# --- the packages ---------------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dbkeel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Dbkeel developers <dbkeel@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program agent)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME dbkeel)
# A font with Chinese glyphs (every label is Chinese) and Qt's own Chinese texts (its dialogs' buttons).
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS
    "unixodbc, libsqliteodbc, sqlite3, fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "administrator's workstation of an inspection-line installation
Maintains the installation's dictionaries (devices, test items, parameters,
line types, basic-information values), composes the inspection lines station
by station, writes the index files the inspection programs read, cleans and
inspects operational data, designs the statistics and vehicle-type tables and
drives the station computers over the network. The database is SQL Server
(through FreeTDS) or an embedded SQLite database, both reached through ODBC.

Contains the program Dbkeel, the command-line tool dbkeel-cli, the host
library, the extension components, the schema scripts and the demo maker
dbkeel-make-demo.")

set(CPACK_DEBIAN_AGENT_PACKAGE_NAME dbkeel-agent)
set(CPACK_DEBIAN_AGENT_PACKAGE_SECTION net)
set(CPACK_DEBIAN_AGENT_PACKAGE_CONTROL_EXTRA ${packaging}/agent/conffiles)
set(CPACK_COMPONENT_AGENT_DESCRIPTION "resident program of an inspection-line station computer
Listens on one UDP port and answers the command packets of the Dbkeel
console: reports the station, lists its programs and, as far as
/etc/dbkeel-agent.conf allows (nothing by default), sets the clock, shuts
down or restarts the computer, starts programs of listed folders or ends
processes. Runs as the systemd service dbkeel-agent.")

include(CPack)
