# The Debian package, made by CPack from the install rules (cmake/install.cmake):
#   cpack --config <build>/CPackConfig.cmake -B dist
# scripts/package-linux --deb and scripts/release run it. Unlike the tarball it
# bundles nothing: dpkg-shlibdeps turns the libraries the programs link into
# the package's Depends, so apt brings Debian's own Qt, ICU and yaml-cpp.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvik Team")
set(CPACK_PACKAGE_CONTACT "Quorvik Team <team@quorvik.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://quorvik.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings editor for the game Quell Moor")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvik finds the Wine prefix the Windows game Quell Moor is played from\n\
(Steam's Proton, Lutris, Heroic, Bottles or Wine), shows every video and\n\
audio setting in one window and writes the game's settings files back,\n\
keeping backups and a history of every file it replaces. It can also switch\n\
motion blur and depth of field off, widen the field of view and start the\n\
game without its intro videos. quorvik-cli does the same from a console.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvik Team <team@quorvik.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvik.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A package of the release's own version, not a Debian revision of it.
set(CPACK_DEBIAN_PACKAGE_RELEASE "")

# The file's name is fixed here, so the release and its checksums can name it
# before CPack runs: quorvik_<version>_<architecture>.deb.
find_program(QUORVIK_DPKG dpkg)
if(QUORVIK_DPKG)
  execute_process(COMMAND ${QUORVIK_DPKG} --print-architecture
                  OUTPUT_VARIABLE QUORVIK_DEB_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(QUORVIK_DEB_ARCHITECTURE amd64)
else()
  set(QUORVIK_DEB_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QUORVIK_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME quorvik_${PROJECT_VERSION}_${QUORVIK_DEB_ARCHITECTURE}.deb)

# Everything `cmake --install` installs, and the Debian changelog besides.
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

include(CPack)
