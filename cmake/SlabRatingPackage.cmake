# The files a Linux desktop installs beside the two programs, and the Debian package
# made of them (cpack -G DEB, or scripts/package.sh). The programs themselves are
# installed by app/ and cli/.
#
# Everything lands under the install prefix: /usr in the package, ~/.local or
# /usr/local with `cmake --install`. The settings stay in the user's home.

set(SLABRATING_MAINTAINER "Slab Rating maintainers <maintainers@users.noreply.c-seed-2b2afb6d.example>"
    CACHE STRING "Maintainer of the Debian package, \"Name <address>\"")
set(SLABRATING_SCREENSHOT_URL "" CACHE STRING
    "Web folder where docs/screenshots/*.png are published; when set, the AppStream metainfo shows them")

# Stable once published: software centres know the program by this name.
set(SLABRATING_APPSTREAM_ID org.slabrating.SlabRating)

set(slabrating_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(slabrating_generated ${PROJECT_BINARY_DIR}/packaging)
set(slabrating_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/slabrating)
file(MAKE_DIRECTORY ${slabrating_generated})

# ---------------------------------------------------------------- manual pages
# scdoc turns the sources in docs/man into roff; the installed pages are gzipped
# (gzip -n: no name or time stamp, so the package is reproducible).
find_program(SLABRATING_SCDOC scdoc)
find_program(SLABRATING_GZIP gzip)
set(slabrating_man_pages slabrating-cli)
if(TARGET slabrating)
  list(APPEND slabrating_man_pages slabrating)
endif()
# The tool's page takes its option list from the option table, written at build time.
set(slabrating_cli_scd ${slabrating_generated}/slabrating-cli.1.scd)
add_custom_command(
  OUTPUT ${slabrating_cli_scd}
  COMMAND slabrating-cli-docs manual ${PROJECT_SOURCE_DIR}/docs/man/slabrating-cli.1.scd
          ${slabrating_cli_scd}
  DEPENDS slabrating-cli-docs ${PROJECT_SOURCE_DIR}/docs/man/slabrating-cli.1.scd
  COMMENT "Manual page slabrating-cli(1): the option list from the option table"
  VERBATIM)
if(SLABRATING_SCDOC AND SLABRATING_GZIP)
  set(slabrating_man_outputs)
  foreach(page IN LISTS slabrating_man_pages)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd)
    if(page STREQUAL "slabrating-cli")
      set(source ${slabrating_cli_scd})
    endif()
    set(roff ${slabrating_generated}/${page}.1)
    add_custom_command(
      OUTPUT ${roff} ${roff}.gz
      COMMAND sh -c "\"$0\" < \"$1\" > \"$2\" && \"$3\" -9n -c \"$2\" > \"$2.gz\""
              ${SLABRATING_SCDOC} ${source} ${roff} ${SLABRATING_GZIP}
      DEPENDS ${source}
      COMMENT "Manual page ${page}(1)"
      VERBATIM)
    list(APPEND slabrating_man_outputs ${roff}.gz)
    install(FILES ${roff}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  add_custom_target(slabrating_man_pages ALL DEPENDS ${slabrating_man_outputs})
else()
  message(WARNING "scdoc or gzip not found: the manual pages are not built or installed "
                  "(Debian package scdoc)")
endif()

# ---------------------------------------------------------------- command-line tool
# The bash completion, written from the option table at build time.
add_custom_command(
  OUTPUT ${slabrating_generated}/slabrating-cli.bash
  COMMAND slabrating-cli-docs completion ${slabrating_generated}/slabrating-cli.bash
  DEPENDS slabrating-cli-docs
  COMMENT "Bash completion of slabrating-cli from the option table"
  VERBATIM)
add_custom_target(slabrating_completion ALL DEPENDS ${slabrating_generated}/slabrating-cli.bash)
install(FILES ${slabrating_generated}/slabrating-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME slabrating-cli)

# ---------------------------------------------------------------- desktop program
if(TARGET slabrating)
  install(FILES ${slabrating_packaging}/slabrating.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${slabrating_packaging}/slabrating.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${slabrating_packaging}/icons/slabrating-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME slabrating.png)
  endforeach()
  install(FILES ${slabrating_packaging}/slabrating-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages
          RENAME slabrating.xml)

  # AppStream accepts only web addresses for screenshots, so the metainfo lists them
  # only when the project's pictures are published on the web.
  set(SLABRATING_METAINFO_SCREENSHOTS "")
  if(SLABRATING_SCREENSHOT_URL)
    string(REGEX REPLACE "/+$" "" base "${SLABRATING_SCREENSHOT_URL}")
    string(CONCAT SLABRATING_METAINFO_SCREENSHOTS
      "  <screenshots>\n"
      "    <screenshot type=\"default\">\n"
      "      <caption>The main window with the example slab</caption>\n"
      "      <image>${base}/main-window.png</image>\n"
      "    </screenshot>\n"
      "    <screenshot>\n"
      "      <caption>The rating report</caption>\n"
      "      <image>${base}/report-window.png</image>\n"
      "    </screenshot>\n"
      "  </screenshots>")
  endif()
  configure_file(${slabrating_packaging}/slabrating.metainfo.xml.in
                 ${slabrating_generated}/${SLABRATING_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${slabrating_generated}/${SLABRATING_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
endif()

# ---------------------------------------------------------------- documentation
# The README with its pictures (at the paths its links name), the schema of the JSON
# result and the example slabs with their reports.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${slabrating_packaging}/copyright
              ${PROJECT_SOURCE_DIR}/docs/slab-result.schema.json
        DESTINATION ${slabrating_docdir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots
        DESTINATION ${slabrating_docdir}/docs FILES_MATCHING PATTERN "*.png")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${slabrating_docdir}/examples FILES_MATCHING PATTERN "*.qr[io]")

# The changelog of a package without a separate Debian revision; its date honours
# SOURCE_DATE_EPOCH.
string(TIMESTAMP SLABRATING_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${slabrating_packaging}/changelog.in ${slabrating_generated}/changelog @ONLY)
if(SLABRATING_GZIP)
  add_custom_command(
    OUTPUT ${slabrating_generated}/changelog.gz
    COMMAND sh -c "\"$0\" -9n -c \"$1\" > \"$1.gz\"" ${SLABRATING_GZIP}
            ${slabrating_generated}/changelog
    DEPENDS ${slabrating_generated}/changelog
    VERBATIM)
  add_custom_target(slabrating_changelog ALL DEPENDS ${slabrating_generated}/changelog.gz)
  install(FILES ${slabrating_generated}/changelog.gz DESTINATION ${slabrating_docdir})
endif()

# ---------------------------------------------------------------- Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME slabrating)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SLABRATING_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load rating of reinforced concrete slab bridges")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Slab Rating load-rates a short-span reinforced concrete slab bridge. The\n"
  "bridge engineer enters the geometry and materials of a one-foot design strip\n"
  "(span, slab and overlay thickness, top and bottom reinforcement, f'c and Fy\n"
  "or the allowable stresses) and picks the state or the Interstate legal\n"
  "trucks. The rating report gives the HS20 inventory and operating ratings in\n"
  "tons and, when the HS20 operating rating is below 36 tons, the operating\n"
  "ratings of the legal trucks 3, 3S2 and 3-2. A modular ratio selects the\n"
  "working stress method, a blank one the load factor method.\n"
  "\n"
  "The package holds the desktop program slabrating, which saves and prints\n"
  "the report, and the command-line tool slabrating-cli, which rates .qri input\n"
  "files one at a time or in batches, with manual pages, bash completion and\n"
  "example slabs with their reports.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
