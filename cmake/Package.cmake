# The Debian packages, made by scripts/package (cpack -G DEB): orvane holds
# what users run (install component Unspecified, every install() that names
# none) and orvane-dev what programmers build against (component
# Development: header, library, CMake and pkg-config files).
#
# Debian wants the library's files in the multiarch folder
# (/usr/lib/<triplet>); GNUInstallDirs chooses it when the build is configured
# with CMAKE_INSTALL_PREFIX=/usr, as scripts/package does.

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Veltrum Orvane developers")
set(CPACK_PACKAGE_CONTACT "Orvane maintainers <maintainers@users.noreply.c-seed-501c10ff.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Directories cpack creates are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The first line of each description is its package's summary: cpack would
# otherwise give both packages the same one.
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME orvane)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION
  "converter from Veltrum pattern files to Windows Metafiles
Orvane converts pattern files (*.pat, versions 1.1 to 1.6 and 2.1)
into standard Windows Metafiles. A window leads through opening,
sizing and saving; orvane-convert does the same on the command line.
The package adds a menu entry, an icon, the file type of pattern
files and a thumbnailer for file managers.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME orvane-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
  "converter from Veltrum pattern files to Windows Metafiles - development files
The Orvane converter as a C++20 library: a pattern file's bytes in, the
metafile's (or placeable metafile's, or SVG's) bytes out, with the
messages the window would show. This package holds the header
orvane/orvane.h, the static library liborvane.a, a CMake package
(find_package(Orvane)) and orvane.pc for pkg-config.")

# Debian wants these two in every package, in a folder named after the package.
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in changelog.Debian @ONLY)
add_custom_command(OUTPUT changelog.Debian.gz
  COMMAND gzip -9n -c changelog.Debian > changelog.Debian.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian VERBATIM)
add_custom_target(orvane_debian_changelog ALL DEPENDS changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane-dev COMPONENT Development)

include(CPack)
