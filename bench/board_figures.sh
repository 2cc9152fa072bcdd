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
board=${1:-$source_dir/build/bench-board}
mkdir -p "$board" && board=$(cd "$board" && pwd)
mipsel=$(cd "${2:-$source_dir/build/mipsel-uclibc}" && pwd)

"$source_dir/sim/board/fetch_packages.sh" "$board"
BOARD_PKGS=$board/pkgs "$source_dir/sim/board/driver/build.sh" "$board/driver" >/dev/null
"$source_dir/sim/board/make_rootfs.sh" "$board" "$mipsel"

# The probe (the image has the sampler, linked to the same C library as the
# daemons).
extra=$board/extra
rm -rf "$extra" && mkdir -p "$extra/etc/init.d"
cp "$here/board_probe.sh" "$extra/etc/init.d/S95figures"
(cd "$extra" && printf 'etc/init.d/S95figures\n' |
  cpio -o -H newc -R 0:0 --quiet | gzip -1) >> "$board/initramfs.cpio.gz"

console=$board/console.log
pidfile=$board/qemu.pid
: > "$console"
rm -f "$pidfile"
qemu=
stop_qemu() {
  if [ -n "$qemu" ]; then kill "$qemu" 2>/dev/null || true; wait "$qemu" 2>/dev/null || true; fi
}
trap stop_qemu EXIT INT TERM
started=$(date +%s.%N)
"$source_dir/sim/board/boot.sh" --board-dir "$board" --mipsel-build "$mipsel" --no-rootfs \
  --console "$console" --pidfile "$pidfile" &
qemu=$!
booted=
for _ in $(seq 300); do
  if [ -z "$booted" ] && grep -q '@@ boot ' "$console"; then booted=$(date +%s.%N); fi
  grep -q '^@@ done' "$console" && break
  kill -0 "$qemu" 2>/dev/null || break
  sleep 1
done
# The probe powers the board off; a board that does not is stopped.
for _ in $(seq 20); do kill -0 "$qemu" 2>/dev/null || break; sleep 1; done
stop_qemu
qemu=
grep -q '^@@ done' "$console" || { echo "board figures: the probe did not finish; see $console" >&2; exit 1; }

tr -d '\r' < "$console" | sed -n 's/^.*@@ /@@ /p' | awk -v launch="$started" -v booted="$booted" -f "$here/board_figures.awk"
