#!/bin/sh
# Figures of the product on the virtual board: boot to both daemons, memory
# of buttond and uplinkd per mapping against a minimal sampler of /dev/gpio
# (bench/minimal_sampler.c), and buttond's CPU time over 60 idle seconds.
# Builds the product for mipsel without tests, the board driver and an image
# in its own board directory, adds the sampler and bench/board_probe.sh as a
# second archive of the initramfs, boots once and reads the console.
# Usage: bench/board_figures.sh [BOARD_DIR]   (default build/bench-board)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
. "$here/board_lib.sh"
board_prepare "${1:-$source_dir/build/bench-board}"

# The sampler, linked to the same C library as the daemons, and the probe.
extra=$board/extra
rm -rf "$extra" && mkdir -p "$extra/usr/bin" "$extra/etc/init.d"
mipsel-linux-gnu-gcc -Os -Wall -Wextra -Werror -I"$source_dir/boardutil/include" \
  -o "$extra/usr/bin/minimal_sampler" "$here/minimal_sampler.c"
cp "$here/board_probe.sh" "$extra/etc/init.d/S95figures"
board_add_archive "$extra" usr/bin/minimal_sampler etc/init.d/S95figures

board_run
board_lines | awk -v launch="$started" -v booted="$booted" -f "$here/board_figures.awk"
