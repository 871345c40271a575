# Where an install puts things, and the few facts a distributor may change.
include(GNUInstallDirs)

set(PARLINO_WEB_SITE "https://parlino.example" CACHE STRING
    "The maker's web site; the AppStream description's home page and screenshot live there")
set(PARLINO_DISTRIBUTOR_SITE "" CACHE STRING
    "A distributor's web site (https://...): the program's home, program information, support and \
voices links open its pages /, /products/parlino/, /support/ and /products/parlino/voices/ \
instead of the installed help")
set(PARLINO_PACKAGE_MAINTAINER "Parlino developers <parlino@parlino.example>" CACHE STRING
    "The maintainer named by the Debian package")

# The program's data (help pages, voice catalogue) as seen from the program's folder, relative
# so that an install works wherever its prefix is moved.
file(RELATIVE_PATH PARLINO_DATA_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/parlino)
