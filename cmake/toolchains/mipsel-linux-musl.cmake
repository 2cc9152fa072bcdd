# Cross build for the MT7620 router (MIPS32r2, little-endian) on musl, the
# C library of OpenWrt, from Debian's musl packages for mipsel
# (cmake/sysroots/unpack_musl.sh); see router-libc.cmake for a firmware
# SDK's own compiler and sysroot, and for why the programs are not PIE.
set(ROUTERD_LIBC_SCRIPT unpack_musl.sh)
set(ROUTERD_LIBC_TRIPLE mipsel-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/router-libc.cmake)
