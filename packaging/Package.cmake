# `make package`: a Debian package of the installation, made by CPack. Its dependencies are read
# from the shared libraries the programs link (dpkg-shlibdeps), plus what no link shows: Qt's
# platform plugins, which the window loads at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ordavel)
set(CPACK_PACKAGE_VENDOR Quenlix)
set(CPACK_PACKAGE_CONTACT Quenlix)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converts the tax groups and tax classes of an ERP company's records in bulk")
set(CPACK_PACKAGE_DESCRIPTION
    "When a sales or purchase tax changes, Ordavel rewrites the tax data of 19 kinds of
record in six modules through the ERP's own business views, and every kind writes
a plain-text conversion log. The package holds the window (ordavel), the headless
runner (ordavel-batch), the stand-in ERP's command (erp), the user guide, the
manual pages and example jobs.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quenlix.com/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_LIST_DIR}/debian/postinst"
                                       "${CMAKE_CURRENT_LIST_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
