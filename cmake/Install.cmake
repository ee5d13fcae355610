# `cmake --install BUILD [--prefix P]`: the usual layout under the prefix.
# The programs install themselves where they are defined; this file adds the
# xscreensaver hack, the desktop and MIME files, the icon, the man pages, the
# help and the shipped displays.

set(LUMORA_XSCREENSAVER_HACKDIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver CACHE STRING
    "Where xscreensaver looks for its hacks, relative to the prefix")
set(LUMORA_XSCREENSAVER_CONFIGDIR ${CMAKE_INSTALL_DATADIR}/xscreensaver/config CACHE STRING
    "Where xscreensaver's settings program reads the hacks' settings, relative to the prefix")

# The hack is the program itself under the name xscreensaver runs: a relative
# link, so that a staged tree (DESTDIR, the package) keeps pointing inside itself.
file(RELATIVE_PATH hack_target /${LUMORA_XSCREENSAVER_HACKDIR} /${CMAKE_INSTALL_BINDIR}/lumora)
install(CODE "
  set(hack_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${LUMORA_XSCREENSAVER_HACKDIR}\")
  file(MAKE_DIRECTORY \"\${hack_dir}\")
  message(STATUS \"Installing: \${hack_dir}/lumora -> ${hack_target}\")
  file(CREATE_LINK \"${hack_target}\" \"\${hack_dir}/lumora\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${hack_dir}/lumora\")
")
install(FILES desktop/lumora.xml DESTINATION ${LUMORA_XSCREENSAVER_CONFIGDIR})

install(FILES desktop/lumora.desktop desktop/lumora-display.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/lumora-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lumora.xml)
install(FILES desktop/lumora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install(FILES docs/man/lumora.1 docs/man/lumora-reg.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The program brings its help along and writes it out on first use; the
# same pages are installed to be read without it.
file(GLOB help_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/saver/config/help/*.html
     ${CMAKE_SOURCE_DIR}/saver/config/help/*.png ${CMAKE_SOURCE_DIR}/saver/config/help/*.css)
install(FILES ${help_pages} DESTINATION ${CMAKE_INSTALL_DOCDIR}/help)
install(FILES README.md dist/License.TXT DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB shipped_displays CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dist/displays/*.LUM)
install(FILES ${shipped_displays} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumora/displays)
