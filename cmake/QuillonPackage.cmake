# The Debian package: `cpack -G DEB` in a build folder makes quillon_<version>_<arch>.deb
# with the program, its welcome page, desktop entry and icons under /usr.
# Library dependencies come from dpkg-shlibdeps; what the program loads at run
# time rather than links is named here.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cart player for radio studios and live events")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quillon fires jingles, beds and effects live from a grid of 26 carts\n"
  "lettered A to Z, each holding one short audio file (MP3, WAV, WMA, OGG),\n"
  "by key or button, with per-cart volume, loop and fades.")
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# PortAudio is opened with dlmopen, and Qt finds its platform plugins at run
# time, so neither shows in the program's own links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libportaudio2, qt6-qpa-plugins")
# "Arial" and "Verdana" of the program's look, with the same metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")

include(CPack)
