# The Debian package: `cpack -G DEB` in a build folder makes quillon_<version>_<arch>.deb
# with the program, its welcome page, desktop entry, software-centre metadata,
# manual page and icons under /usr, and the changelog and copyright Debian asks for.
# Library dependencies come from dpkg-shlibdeps; only what no link shows is named here.
include(GNUInstallDirs)

# Whoever builds the package for a distribution puts their name here. The
# default is a placeholder at a domain reserved for examples (RFC 2606):
# it reaches no one, and lintian accepts its form.
set(QUILLON_MAINTAINER "Quillon packager <packager@example.org>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")

# The release date as Debian's changelog writes it.
execute_process(COMMAND date -u -R -d "${QUILLON_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUILLON_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/quillon)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$1.gz\"" sh ${PROJECT_BINARY_DIR}/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(quillon_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${doc_folder})

set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cart player for radio studios and live events")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quillon fires jingles, beds and effects live from a grid of 26 carts\n"
  "lettered A to Z, each holding one short audio file (MP3, WAV, WMA, OGG),\n"
  "by key or button, with per-cart volume, loop and fades.")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillon.studio")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plugins (the window system) at run time, so they
# show in no link of the program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# "Arial" and "Verdana" of the program's look, with the same metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")

include(CPack)
