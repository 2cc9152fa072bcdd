#!/bin/sh
# The installed libraries as a firmware program uses them: installs BUILD
# (the mipsel build) with DESTDIR and the prefix /usr, checks the layout,
# builds firmware_client.c against the install twice (find_package from
# its own CMake project, pkg-config with the compiler alone) and runs both
# in the sandbox with the fake drivers scripted by the host's fakehwctl.
# Usage: run.sh BUILD CC TOOLCHAIN_FILE FAKEHWCTL SANDBOX [SANDBOX_ARGS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1 cc=$2 toolchain=$3 fakehwctl=$4
shift 4
work=$build/tests/install
stage=$work/stage
rm -rf "$work"
mkdir -p "$work"

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
for file in usr/lib/libnvram.so usr/lib/libboardutil.a usr/include/nvram.h \
            usr/include/nvram_tool.h usr/include/boardutil/wireless_abi.h \
            usr/lib/cmake/boardutil/boardutilConfig.cmake usr/lib/cmake/nvram/nvramConfig.cmake \
            usr/lib/pkgconfig/boardutil.pc usr/lib/pkgconfig/nvram.pc usr/bin/buttond \
            etc/init.d/rcS; do
  [ -e "$stage/$file" ] || { echo "install: no $file" >&2; exit 1; }
done
for file in usr/etc usr/include/boardutil/wireless_internal.h; do
  [ ! -e "$stage/$file" ] || { echo "install: $file should not be installed" >&2; exit 1; }
done

# find_package(boardutil), as a firmware's CMake project does it.
cmake -S "$here" -B "$work/cmake" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -Dboardutil_DIR="$stage/usr/lib/cmake/boardutil" >/dev/null
cmake --build "$work/cmake" >/dev/null

# pkg-config over the staged install, as a firmware's make file does it.
flags=$(PKG_CONFIG_LIBDIR=$stage/usr/lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=$stage \
        pkg-config --cflags --libs boardutil nvram)
"$cc" -Wall -Wextra -Werror -o "$work/firmware_client_pc" "$here/firmware_client.c" $flags \
  -Wl,-rpath,"$stage/usr/lib"

ctl="env LD_PRELOAD= $fakehwctl"
"$@" -- /bin/sh -ec "
  $ctl wifi-profile ra0 ssid=Firmware key=12345678 auth=32 encr=8
  $ctl wifi-configured apcli0 ssid=Upstream key=upstream-key auth=32 encr=12
  $ctl wifi-acl rai3 AA:BB:CC:DD:EE:01 AA:BB:CC:DD:EE:02
  $ctl logging on
  $work/cmake/firmware_client
  $work/firmware_client_pc
  leds=\$(grep -c 'gpio led' /run/sim/requests.log)
  if [ \"\$leds\" != 4 ]; then echo \"LED requests logged: \$leds, expected 4\" >&2; exit 1; fi"
