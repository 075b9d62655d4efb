# The Linux installation (GNU layout under the prefix) and its Debian package. The icons,
# the compressed manual page and the package documents are made at build time.
# Included by packaging/CMakeLists.txt.
include(GNUInstallDirs)

# The reverse-DNS id of the desktop entry and the AppStream component (the publisher's host
# is www.mql.example).
set(MQ_APP_ID example.mql.moviquel)
# The release the version number names: the date of the metainfo release, the manual page
# and the package changelog. Fixed, so that two builds of one version make the same files.
set(MQ_RELEASE_DATE 2026-12-08)
set(MQ_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")

set(mq_linux ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(mq_out ${CMAKE_CURRENT_BINARY_DIR})

configure_file(${mq_linux}/moviquel.desktop.in ${mq_out}/${MQ_APP_ID}.desktop @ONLY)
configure_file(${mq_linux}/moviquel.metainfo.xml.in ${mq_out}/${MQ_APP_ID}.metainfo.xml @ONLY)
configure_file(${mq_linux}/moviquel.6.in ${mq_out}/moviquel.6 @ONLY)
configure_file(${mq_linux}/changelog.in ${mq_out}/doc/changelog @ONLY)
configure_file(${mq_linux}/copyright.in ${mq_out}/doc/copyright @ONLY)
configure_file(${mq_linux}/moviquel.xscreensaver.xml.in ${mq_out}/xscreensaver/moviquel.xml @ONLY)

# Debian keeps manual pages and changelogs compressed; -n leaves the time out of the file.
find_program(MQ_GZIP gzip REQUIRED)
set(mq_compressed ${mq_out}/moviquel.6.gz ${mq_out}/doc/changelog.gz)
foreach(compressed ${mq_compressed})
  string(REGEX REPLACE "\\.gz$" "" plain ${compressed})
  add_custom_command(OUTPUT ${compressed}
                     COMMAND ${MQ_GZIP} -9 -n -f -k ${plain}
                     DEPENDS ${plain}
                     VERBATIM)
endforeach()

# The icon at the usual hicolor sizes. Up to 48 pixels from the 32x32 Windows icon, drawn
# pixel by pixel: 32 as it is, the others resampled. From 64 pixels up from the scalable
# icon, drawn to the same design, which is installed too.
find_program(MQ_CONVERT convert)
if(NOT MQ_CONVERT)
  message(FATAL_ERROR "ImageMagick's convert makes the installed icons: install the Debian package imagemagick")
endif()
find_program(MQ_RSVG_CONVERT rsvg-convert)
if(NOT MQ_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert makes the large icons: install the Debian package librsvg2-bin")
endif()
set(mq_icon ${PROJECT_SOURCE_DIR}/resources/moviquel.ico)
set(mq_svg_icon ${PROJECT_SOURCE_DIR}/resources/moviquel.svg)
set(mq_icons)
foreach(size 16 22 24 32 48 64 128 256)
  set(dir ${mq_out}/icons/hicolor/${size}x${size}/apps)
  set(png ${dir}/moviquel.png)
  if(size GREATER 48)
    set(make_png ${MQ_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${mq_svg_icon})
    set(source ${mq_svg_icon})
  else()
    set(make_png ${MQ_CONVERT} ${mq_icon}[0] -filter Lanczos -resize ${size}x${size} -strip
                 -define png:exclude-chunks=date,time PNG32:${png})
    set(source ${mq_icon})
  endif()
  add_custom_command(OUTPUT ${png}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
                     COMMAND ${make_png}
                     DEPENDS ${source}
                     VERBATIM)
  list(APPEND mq_icons ${png})
endforeach()

add_custom_target(mq_install_files ALL DEPENDS ${mq_compressed} ${mq_icons})

install(TARGETS moviquel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped installation (`cmake --install --strip`, and the package) also drops the
# compiler's notes, which a plain strip keeps.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/moviquel\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")
install(FILES ${mq_out}/${MQ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${mq_out}/${MQ_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${mq_out}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${mq_svg_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Where xscreensaver-settings looks for the settings of the programs it lists.
install(FILES ${mq_out}/xscreensaver/moviquel.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${mq_out}/moviquel.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${mq_out}/doc/changelog.gz ${mq_out}/doc/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: its dependencies come from the shared libraries the installed binary
# needs (dpkg-shlibdeps), so they follow whatever the build linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The web page opens through xdg-open, which no library dependency brings in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# One line of the control field per element, an empty one between paragraphs: CPack wraps
# nothing, and Debian asks for lines under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Moviquel Player carries two pictures inside the program and keeps the one on"
  "screen in constant motion: small blocks of it shift by a pixel, drift brighter"
  "in slow patterns and sparkle along its bottom edge, a few times a second. The"
  "main picture stays for thirty seconds, then an info picture fades in for five."
  ""
  "It runs full screen, scaled to the desktop with its proportions kept, in a"
  "window of one to eight times its 640x480 size, or as a screensaver drawing"
  "into the window XScreenSaver gives it.")
