#!/bin/sh
# Figures of the product on the virtual board: boot to both daemons, memory
# of buttond and uplinkd per mapping against a minimal sampler of /dev/gpio
# (bench/minimal_sampler.c), and buttond's CPU time over 60 idle seconds.
# Makes the board driver and an image of a board build (the product and the
# sampler built with the board's C library: make board-build) in its own
# board directory, adds bench/board_probe.sh as a second archive of the
# initramfs, boots once and reads the console.
# Usage: bench/board_figures.sh [BOARD_DIR [BOARD_BUILD]]
#        (default build/bench-board and build/mipsel-uclibc)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
. "$here/board_lib.sh"
board_prepare "${1:-$source_dir/build/bench-board}" "${2:-$source_dir/build/mipsel-uclibc}"

# The probe (the image has the sampler, linked to the same C library as the
# daemons).
extra=$board/extra
rm -rf "$extra" && mkdir -p "$extra/etc/init.d"
cp "$here/board_probe.sh" "$extra/etc/init.d/S95figures"
board_add_archive "$extra" etc/init.d/S95figures

board_run
board_lines | awk -v launch="$started" -v booted="$booted" -f "$here/board_figures.awk"
