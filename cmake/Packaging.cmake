# Installation and the Debian package (cpack -G DEB, or scripts/package.sh): the programs in
# /usr/bin, the desktop entry, the program icon, the MIME type of settings files (*.zms) for the
# shared MIME database, the example documents, the EUT monitor scripts, the shipped standard
# profiles, and the package's copyright and changelog.
# Runtime dependencies are computed from the binaries by dpkg-shlibdeps.
include(GNUInstallDirs)

set(ZEB_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS zebctl zeb-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zeb)
    install(TARGETS zeb RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The menu entry starts the desktop program and opens settings files with it.
    install(FILES ${ZEB_PACKAGING_DIR}/zeb.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

install(FILES ${ZEB_PACKAGING_DIR}/zeb.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The shared MIME database picks this up through its dpkg trigger; no maintainer script needed.
install(FILES ${ZEB_PACKAGING_DIR}/zeb-settings.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zeb.xml)
# The example documents are built from their JSON by zebctl into the build folder; the built
# .zms files are what a new user opens.
if(DEFINED ZEB_EXAMPLES_DIR)
    foreach(name IN LISTS ZEB_EXAMPLES)
        install(FILES ${ZEB_EXAMPLES_DIR}/${name}.zms DESTINATION ${CMAKE_INSTALL_DATADIR}/zeb/examples)
    endforeach()
endif()
# The shipped standard profiles, read-only; a lab's own live in its data folder (standards/).
install(FILES ${ZEB_STANDARD_PROFILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/zeb/standards)
# The EUT monitors shipped ready to use (or to copy and adapt), executable.
install(PROGRAMS ${ZEB_MONITORS} DESTINATION ${CMAKE_INSTALL_DATADIR}/zeb/monitors)

# Debian policy: the copyright file as it is; the changelog and the manual pages compressed
# without a time stamp, so that the same sources give the same package.
set(ZEB_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
configure_file(${ZEB_PACKAGING_DIR}/changelog.in ${ZEB_PACKAGING_OUT}/changelog @ONLY)
set(ZEB_MAN_PAGES zebctl.1 zeb-sim.1)
if(TARGET zeb)
    list(APPEND ZEB_MAN_PAGES zeb.1)
endif()
set(ZEB_COMPRESSED ${ZEB_PACKAGING_OUT}/changelog.gz)
add_custom_command(OUTPUT ${ZEB_PACKAGING_OUT}/changelog.gz
                   COMMAND gzip -9nc ${ZEB_PACKAGING_OUT}/changelog > changelog.gz
                   DEPENDS ${ZEB_PACKAGING_OUT}/changelog
                   WORKING_DIRECTORY ${ZEB_PACKAGING_OUT})
foreach(page IN LISTS ZEB_MAN_PAGES)
    add_custom_command(OUTPUT ${ZEB_PACKAGING_OUT}/${page}.gz
                       COMMAND gzip -9nc ${ZEB_PACKAGING_DIR}/${page} > ${page}.gz
                       DEPENDS ${ZEB_PACKAGING_DIR}/${page}
                       WORKING_DIRECTORY ${ZEB_PACKAGING_OUT})
    list(APPEND ZEB_COMPRESSED ${ZEB_PACKAGING_OUT}/${page}.gz)
    install(FILES ${ZEB_PACKAGING_OUT}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(zeb_package_files ALL DEPENDS ${ZEB_COMPRESSED})
install(FILES ${ZEB_PACKAGING_DIR}/copyright ${ZEB_PACKAGING_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "ZEB developers <zeb@brakmoor.example>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zeb_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "remote control for a surge immunity test generator")
# CPack puts the summary in front and indents the lines; an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Controls a surge immunity test generator over RS-232 for EMC test
laboratories: test conditions are kept in settings files (.zms) and expanded
into test steps, which run on the instrument one after the other; each step is
judged PASS or FAIL with a comment, and the result goes into a spreadsheet
report.

Contains the desktop program, the command-line tool zebctl and the instrument
simulator zeb-sim for training and demonstrations.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The issued report's pages are drawn (and its fonts embedded) in DejaVu Sans, by zebctl too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
if(TARGET zeb)
    # Loaded as plug-ins at run time, so the binaries' libraries do not reveal them: the window
    # system integration and the SVG icon engine.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins, libqt6svg6")
endif()
include(CPack)
