# A Debian package of everything `cmake --install` installs, made under /usr: the plug-ins in
# /usr/lib/vst3, /usr/lib/lv2 and /usr/lib/vst (where hosts look), brevalon-render and the
# standalone application in /usr/bin with the application's desktop entry and icons in
# /usr/share, the manual page of brevalon-render, the manual, change log and licence in
# /usr/share/doc/brevalon; and the manual as a PDF in /opt/Quillfen/Brevalon, where the editor
# opens it.
#
#   tools/run.sh package                        (or: cd BUILD && cpack -G DEB)
#
# Making it needs pandoc and WeasyPrint (the PDF, rendered while installing).
# The dependencies are worked out from the binaries (dpkg-shlibdeps). A package for the user
# folders (BREVALON_USER_INSTALL) makes no sense, so there is none then.
if (BREVALON_USER_INSTALL)
    return ()
endif ()

set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME brevalon)
set (CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set (CPACK_PACKAGE_VENDOR "${BREVALON_IDENTITY_manufacturer}")
# The maintainer's address: "packages@" and the host of the maker's website.
string (REGEX REPLACE "^[a-z]+://([^/]+).*$" "packages@\\1" brevalon_package_mail "${BREVALON_IDENTITY_companyWebsite}")
set (CPACK_PACKAGE_CONTACT "${BREVALON_IDENTITY_manufacturer} <${brevalon_package_mail}>")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "Linear-phase FIR low-pass plug-in for mastering (VST3, LV2, VST 2.4)")
set (CPACK_PACKAGE_DESCRIPTION "Brevalon removes the content of a signal above the audible band with one steep,
linear-phase FIR low-pass: corner (-0.1 dB) from 20 to 25 kHz, slope, dry/wet amount and
bypass, active from 88.2 to 384 kHz. The package holds the VST3, LV2 and VST 2.4 plug-ins,
the standalone application and brevalon-render, which runs the same processing over WAV,
AIFF and FLAC files.")
set (CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The PDF's folder in /opt is absolute: installed through DESTDIR, it lands in the package's tree
# (not on the packaging machine); the prefix the install rules then see is CPACK_INSTALL_PREFIX.
set (CPACK_SET_DESTDIR ON)
set (CPACK_INSTALL_PREFIX /usr)
set (CPACK_STRIP_FILES TRUE)
set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set (CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BREVALON_IDENTITY_companyWebsite}")
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Every installed component goes into the one package.
set (CPACK_DEB_COMPONENT_INSTALL OFF)

include (CPack)
