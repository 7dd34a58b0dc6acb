# Installing the game and packaging it as a .deb.
#
# Installed layout (P = the install prefix):
#   P/bin/glorbit                  the launcher (a shell script): any working directory, any user
#   P/lib/glorbit/glorbit          the game itself
#   P/share/glorbit/game/res/      the shaders; game/ is the working directory the game expects,
#   P/share/glorbit/assets/        so that "res/shader/..." and "../assets/..." hold below it
#   P/share/applications, P/share/metainfo, P/share/icons/hicolor: the desktop integration
#
# The launcher finds everything relative to its own location, so the tree can be moved (the .deb
# test runs it from a folder it was merely unpacked into).

set(GLORBIT_VERSION 0.1.0)
set(GLORBIT_APP_ID org.glorbit.glorbit)
set(GLORBIT_HOMEPAGE "https://glorbit.example/" CACHE STRING "Home page named in the AppStream metainfo")
set(GLORBIT_SCREENSHOT_URL "https://glorbit.example/screenshots/level-follow-camera.png"
    CACHE STRING "Screenshot named in the AppStream metainfo (docs/screenshots/level-follow-camera.png)")

set(GLORBIT_INSTALL_GAMEDIR lib/glorbit)
set(GLORBIT_INSTALL_DATADIR share/glorbit)
set(GLORBIT_BIN_TO_GAME ../${GLORBIT_INSTALL_GAMEDIR})
set(GLORBIT_BIN_TO_DATA ../${GLORBIT_INSTALL_DATADIR})

set(packaging ${CMAKE_CURRENT_LIST_DIR})
configure_file(${packaging}/glorbit.in ${CMAKE_BINARY_DIR}/packaging/glorbit @ONLY)
configure_file(${packaging}/${GLORBIT_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${GLORBIT_APP_ID}.metainfo.xml @ONLY)

install(TARGETS glorbit RUNTIME DESTINATION ${GLORBIT_INSTALL_GAMEDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/res/ DESTINATION ${GLORBIT_INSTALL_DATADIR}/game/res)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/ DESTINATION ${GLORBIT_INSTALL_DATADIR}/assets)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/glorbit DESTINATION bin)
install(FILES ${packaging}/${GLORBIT_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${GLORBIT_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 64 256)
  install(FILES ${packaging}/icons/${size}/${GLORBIT_APP_ID}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# `cpack -G DEB` in the build folder. The runtime libraries become Depends through dpkg-shlibdeps,
# from what the game is actually linked against.
set(CPACK_PACKAGE_NAME glorbit)
set(CPACK_PACKAGE_VERSION ${GLORBIT_VERSION})
set(CPACK_PACKAGE_VENDOR "glorbit")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small 3D game: roll a creature, push a glowing star into the goal")
set(CPACK_PACKAGE_DESCRIPTION
    "Roll a round, skeletally animated creature through a fenced level and push a glowing star past
the walls, over the bridge and into the goal, while two stone enemies wait to eat it.")
set(CPACK_PACKAGE_CONTACT "glorbit maintainers <maintainers@glorbit.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, but needed to see anything: an OpenGL driver, and notify-send, through which the
# launcher tells a player who started the game from the menu how it ended.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libnotify-bin")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLORBIT_HOMEPAGE})
set(CPACK_GENERATOR DEB)
include(CPack)
