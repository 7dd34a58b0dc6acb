# Installing the game and packaging it as .deb files.
#
# Installed layout (P = the install prefix, folders from GNUInstallDirs):
#   P/bin/glorbit                  the launcher (a shell script): any working directory, any user
#   P/lib/glorbit/glorbit          the game itself
#   P/share/glorbit/game/res/      the shaders; game/ is the working directory the game expects,
#   P/share/glorbit/assets/        so that "res/shader/..." and "../assets/..." hold below it
#   P/share/man/man6/glorbit.6.gz  the manual page
#   P/share/doc/glorbit/           copyright and changelog.gz
#   P/share/applications, P/share/metainfo, P/share/icons/hicolor: the desktop integration
#
# With GLORBIT_DEBIAN_PACKAGE (the .deb's build, packaging/build-deb.sh) the launcher, the game and
# the data go where Debian puts games instead: P/games/glorbit, P/lib/games/glorbit/glorbit and
# P/share/games/glorbit/, P being /usr. The launcher finds the game and the data relative to its
# own location, so either tree can be moved (the .deb test runs it from a folder it was merely
# unpacked into).

include(GNUInstallDirs)

set(packaging ${CMAKE_CURRENT_LIST_DIR})

# The version and the release date are those of the changelog's newest entry.
file(STRINGS ${packaging}/changelog changelog_lines)
list(GET changelog_lines 0 newest)
if(NOT newest MATCHES "^glorbit \\(([0-9][0-9A-Za-z.+~]*)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line names no version: ${newest}")
endif()
set(GLORBIT_VERSION ${CMAKE_MATCH_1})
list(FILTER changelog_lines INCLUDE REGEX "^ -- ")
list(GET changelog_lines 0 signed)
if(NOT signed MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry has no date: ${signed}")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
  set(month 0${month})
endif()
set(GLORBIT_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})

set(GLORBIT_APP_ID org.glorbit.glorbit)
set(GLORBIT_HOMEPAGE "https://glorbit.example/" CACHE STRING "Home page named in the AppStream metainfo")
set(GLORBIT_SCREENSHOT_URL "https://glorbit.example/screenshots/level-follow-camera.png"
    CACHE STRING "Screenshot named in the AppStream metainfo (docs/screenshots/level-follow-camera.png)")

if(GLORBIT_DEBIAN_PACKAGE)
  set(GLORBIT_INSTALL_BINDIR games)
  set(GLORBIT_INSTALL_GAMEDIR lib/games/glorbit)
  set(GLORBIT_INSTALL_DATADIR share/games/glorbit)
else()
  set(GLORBIT_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(GLORBIT_INSTALL_GAMEDIR ${CMAKE_INSTALL_LIBDIR}/glorbit)
  set(GLORBIT_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/glorbit)
endif()

# The launcher's way from its own folder to the game and the data.
foreach(dir BINDIR GAMEDIR DATADIR)
  if(IS_ABSOLUTE "${GLORBIT_INSTALL_${dir}}")
    message(FATAL_ERROR "The launcher finds its files relative to itself: give install folders "
                        "relative to the prefix (${GLORBIT_INSTALL_${dir}})")
  endif()
endforeach()
file(RELATIVE_PATH GLORBIT_BIN_TO_GAME /P/${GLORBIT_INSTALL_BINDIR} /P/${GLORBIT_INSTALL_GAMEDIR})
file(RELATIVE_PATH GLORBIT_BIN_TO_DATA /P/${GLORBIT_INSTALL_BINDIR} /P/${GLORBIT_INSTALL_DATADIR})

# The manual names the folders as installed under the configured prefix.
set(GLORBIT_MAN_DATADIR ${CMAKE_INSTALL_PREFIX}/${GLORBIT_INSTALL_DATADIR})
set(GLORBIT_MAN_DOCDIR ${CMAKE_INSTALL_FULL_DOCDIR})
if(GLORBIT_DEBIAN_PACKAGE)
  set(GLORBIT_MAN_DATADIR /usr/${GLORBIT_INSTALL_DATADIR})
  set(GLORBIT_MAN_DOCDIR /usr/share/doc/glorbit)
endif()

set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${packaging}/glorbit.in ${generated}/glorbit @ONLY)
configure_file(${packaging}/${GLORBIT_APP_ID}.metainfo.xml.in ${generated}/${GLORBIT_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/glorbit.6.in ${generated}/glorbit.6 @ONLY)
configure_file(${packaging}/changelog ${generated}/changelog COPYONLY)

# Compressed as Debian wants them (best compression, no name or time stamp), here at configure
# time, so that installing needs nothing built but the game.
foreach(file glorbit.6 changelog)
  execute_process(COMMAND gzip -9nc INPUT_FILE ${generated}/${file} OUTPUT_FILE ${generated}/${file}.gz
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Two parts, which the .deb build makes two packages of: the game (architecture-dependent) and its
# data (shaders and assets, the same on every architecture).
install(TARGETS glorbit RUNTIME DESTINATION ${GLORBIT_INSTALL_GAMEDIR} COMPONENT game)
if(GLORBIT_DEBIAN_PACKAGE)
  # As dh_strip does: no symbols, no compiler notes.
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${GLORBIT_INSTALL_GAMEDIR}/glorbit\"
      COMMAND_ERROR_IS_FATAL ANY)" COMPONENT game)
endif()
install(PROGRAMS ${generated}/glorbit DESTINATION ${GLORBIT_INSTALL_BINDIR} COMPONENT game)
install(FILES ${generated}/glorbit.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES ${packaging}/${GLORBIT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${generated}/${GLORBIT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
foreach(size 64 256)
  install(FILES ${packaging}/icons/${size}/${GLORBIT_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT game)
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/res/ DESTINATION ${GLORBIT_INSTALL_DATADIR}/game/res COMPONENT data)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/ DESTINATION ${GLORBIT_INSTALL_DATADIR}/assets COMPONENT data)
# Each package carries the copyright and the changelog in its own documentation folder.
foreach(component game data)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/glorbit)
  if(component STREQUAL data)
    if(NOT GLORBIT_DEBIAN_PACKAGE)
      continue()
    endif()
    set(doc ${CMAKE_INSTALL_DATADIR}/doc/glorbit-data)
  endif()
  install(FILES ${packaging}/copyright ${generated}/changelog.gz DESTINATION ${doc} COMPONENT ${component})
endforeach()
if(GLORBIT_DEBIAN_PACKAGE)
  install(FILES ${packaging}/lintian/glorbit DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT game)
endif()

# `cpack -G DEB` in a build folder configured by packaging/build-deb.sh: glorbit and glorbit-data.
# The game's runtime libraries become its Depends through dpkg-shlibdeps, from what it is actually
# linked against.
set(CPACK_PACKAGE_NAME glorbit)
set(CPACK_PACKAGE_VERSION ${GLORBIT_VERSION})
set(CPACK_PACKAGE_VENDOR "glorbit")
set(CPACK_PACKAGE_CONTACT "glorbit maintainers <maintainers@glorbit.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLORBIT_HOMEPAGE})

set(CPACK_DEBIAN_GAME_PACKAGE_NAME glorbit)
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "glorbit-data (= ${GLORBIT_VERSION})")
# Not linked, but needed to see anything: an OpenGL driver, and notify-send, through which the
# launcher tells a player who started the game from the menu how it ended.
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libnotify-bin")
set(CPACK_DEBIAN_GAME_DESCRIPTION "3D game: roll a creature, push a glowing star into the goal
Roll a round, skeletally animated creature through a fenced level and push a
glowing star past the walls, over the bridge and into the goal, while two stone
enemies wait to eat it. Rigid-body physics decides everything, down to winning
and losing. Keyboard and mouse or a gamepad; OpenGL 4.4.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME glorbit-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "data for the glorbit 3D game
The shaders, models, textures and sky of glorbit, a game in which you roll a
creature through a fenced level and push a glowing star into the goal. All the
art is generated by the game's own asset generator.")
include(CPack)
