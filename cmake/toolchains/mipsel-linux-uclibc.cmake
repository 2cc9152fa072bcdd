# Cross build for the MT7620 router (MIPS32r2, little-endian) on uClibc-ng,
# the C library of the vendor firmware's family: what a firmware flashes.
# The sysroot comes from cmake/sysroots/build_uclibc_ng.sh; see
# router-libc.cmake for a firmware SDK's own compiler and sysroot, and for
# why the programs are not PIE.
set(ROUTERD_LIBC_SCRIPT build_uclibc_ng.sh)
set(ROUTERD_LIBC_TRIPLE mipsel-linux-uclibc)
include(${CMAKE_CURRENT_LIST_DIR}/router-libc.cmake)
