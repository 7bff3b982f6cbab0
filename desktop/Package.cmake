# The Debian package of Brackwen, made by CPack from the install rules
# (scripts/package builds it): the programs, their desktop files, manual pages
# and completion, and the sample folder. Its dependencies are read from the
# programs' shared libraries by dpkg-shlibdeps.
set(BRACKWEN_MAINTAINER "Ostrel <ostrel@brackwen.example.org>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brackwen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Ostrel)
set(CPACK_PACKAGE_CONTACT ${BRACKWEN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "terrain editor for the adventure maps of Valdris")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRACKWEN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brackwen.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt's own texts (its dialogs' buttons, the system's file errors) in the
# interface's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# The long description, below the summary; "." stands for an empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brackwen opens an adventure map of the strategy game Valdris, shows its
terrain as a grid of cells drawn with the game's tile pictures, with an
overview of the whole level, and lets you paint terrain, rivers and roads
with a brush or a fill, lay roads and rivers along a drag, mirror every
edit, copy and paste blocks of cells, flip and turn the level and change
the map's size. Every other part of the map is saved back as it was.
.
The package also holds brackwen-cli, a command-line tool for the same work
on whole maps, and a sample folder with maps, tile pictures and rules.")

include(CPack)
