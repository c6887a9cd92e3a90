# The Debian package: `cpack -G DEB` in the build folder writes vexaro_<version>_<arch>.deb.
# Its library dependencies are read from the programs themselves (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vexaro developers")
set(CPACK_PACKAGE_CONTACT "The Vexaro developers <maintainers@vexaro.example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send files that are too large for e-mail")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# QtKeychain loads libsecret at run time to reach the keyring, so no link names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# xdg-open opens mail addresses and viewed entries; a keyring keeps the passwords.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, gnome-keyring | kwalletmanager")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.invalid/vexaro/")
# The long description; cpack puts the summary above it and indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vexaro packs the files and folders you choose into one zip archive,
encrypts it when your settings ask for it, uploads it by FTP into your
folder on a file server and tells the recipient where to download it.

The package holds the desktop program vexaro and the command-line tools
vexaro-crypt (encrypt and restore files) and vexaro-ftp (scripted FTP).")
include(CPack)
