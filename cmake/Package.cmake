# `cpack -G DEB` in a release build: a Debian package installing under /usr, whose
# dependencies dpkg-shlibdeps computes from the two programs. There is no public home page
# or repository yet, so the package names none.
set(CPACK_PACKAGE_NAME quarzel)
set(CPACK_PACKAGE_VENDOR "The Quarzel Simulator developers")
set(CPACK_PACKAGE_CONTACT "${QUARZEL_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${QUARZEL_PACKAGE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of a small 8-bit computer, with an assembler")
# Installed with the prefix /usr itself into a staging root (DESTDIR), so what is written at
# install time (the man pages) names /usr and not the staging folder.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Web help and the listing are opened through the desktop's default programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGE_DESCRIPTION
    "Quarzel Simulator teaches how a computer works on a tiny 8-bit machine: 256
bytes of memory, sixteen registers, a program counter and an instruction
register, shown as hexadecimal cells that students edit, run and step through.
Assembler editors with syntax highlighting turn assembly source into memory
images, and a built-in help describes every control and instruction.

The command-line tool quarzel-cli assembles, disassembles and runs programs
without a window.")
include(CPack)
