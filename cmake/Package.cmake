# The Debian package, made by scripts/package (cpack -G DEB).

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Veltrum Orvane developers")
set(CPACK_PACKAGE_CONTACT "Orvane maintainers <maintainers@users.noreply.c-seed-501c10ff.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter from Veltrum pattern files to Windows Metafiles")
set(CPACK_PACKAGE_DESCRIPTION
  "Orvane converts pattern files (*.pat, versions 1.1 to 1.6 and 2.1)
into standard Windows Metafiles. A window leads through opening,
sizing and saving; orvane-convert does the same on the command line.
The package adds a menu entry, an icon, the file type of pattern
files and a thumbnailer for file managers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Directories cpack creates are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian wants these two in every package, in a folder named after the package.
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in changelog.Debian @ONLY)
add_custom_command(OUTPUT changelog.Debian.gz
  COMMAND gzip -9n -c changelog.Debian > changelog.Debian.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian VERBATIM)
add_custom_target(orvane_debian_changelog ALL DEPENDS changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane)

include(CPack)
