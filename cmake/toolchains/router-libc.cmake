# Shared by the router toolchain files (mipsel-linux-uclibc.cmake,
# mipsel-linux-musl.cmake): ROUTERD_LIBC_SCRIPT and ROUTERD_LIBC_TRIPLE are
# set by the includer. By default the C library's sysroot is built (or
# found in the cache) by the script in cmake/sysroots/, and the compilers are
# that sysroot's wrappers around Debian's mipsel cross compiler. A firmware
# SDK's own compiler and sysroot are used instead with
#   -DROUTERD_CROSS_PREFIX=/opt/sdk/bin/mipsel-linux-uclibc-
#   -DROUTERD_SYSROOT=/opt/sdk/staging   (optional: the compiler's own default)
#
# The router's programs are not position-independent executables: PIE code
# on MIPS reaches every global and function through the GOT, which costs
# 4-6 KB per program (bench/README.md) on a router with a few MB of flash,
# and address-space randomisation protects little here: what the daemons
# read from outside is fixed-size driver records and small local files,
# each bounded and fuzzed (fuzz/). Only shared objects are built
# position-independent (see the top CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR mipsel)

set(ROUTERD_CROSS_PREFIX "" CACHE STRING
    "Prefix of a firmware SDK's compilers and binutils (e.g. /opt/sdk/bin/mipsel-linux-uclibc-)")
set(ROUTERD_SYSROOT "" CACHE PATH "The C library's sysroot (default: built from cmake/sysroots)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ROUTERD_CROSS_PREFIX ROUTERD_SYSROOT)

if(ROUTERD_CROSS_PREFIX)
  set(CMAKE_C_COMPILER ${ROUTERD_CROSS_PREFIX}gcc)
  set(CMAKE_CXX_COMPILER ${ROUTERD_CROSS_PREFIX}g++)
  if(ROUTERD_SYSROOT)
    set(CMAKE_SYSROOT ${ROUTERD_SYSROOT})
  endif()
else()
  if(NOT ROUTERD_SYSROOT)
    execute_process(
      COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/../sysroots/${ROUTERD_LIBC_SCRIPT}
      OUTPUT_VARIABLE sysroot OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "${ROUTERD_LIBC_SCRIPT} failed")
    endif()
    set(ROUTERD_SYSROOT ${sysroot} CACHE PATH "The C library's sysroot" FORCE)
  endif()
  # The wrappers carry the C library's headers, start files and libraries
  # to every compile and link: no linker flag a user gives can bring glibc
  # back.
  set(CMAKE_C_COMPILER ${ROUTERD_SYSROOT}/bin/${ROUTERD_LIBC_TRIPLE}-gcc)
  set(CMAKE_CXX_COMPILER ${ROUTERD_SYSROOT}/bin/${ROUTERD_LIBC_TRIPLE}-g++)
endif()

set(CMAKE_FIND_ROOT_PATH ${ROUTERD_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(ROUTERD_SYSROOT)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-mipsel-static -L ${ROUTERD_SYSROOT})
endif()
