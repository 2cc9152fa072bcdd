#!/bin/sh
# Makes the power-cut campaign's own copy of the board in BOARD_DIR: the
# board's packages, driver and root filesystem, which carries the
# campaign's writer, repeater-session program and the library that cuts the
# power after a chosen file replacement. Usage: prepare.sh BOARD_DIR BOARD_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:?usage: prepare.sh BOARD_DIR BOARD_BUILD}"
board=$(cd "$1" && pwd)
board_build=$(cd "${2:?usage: prepare.sh BOARD_DIR BOARD_BUILD}" && pwd)

"$here/../fetch_packages.sh" "$board"
BOARD_PKGS=$board/pkgs "$here/../driver/build.sh" "$board/driver" >/dev/null
"$here/../make_rootfs.sh" "$board" "$board_build"
