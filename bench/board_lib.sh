# Shared by the board benchmarks, sourced after `set -eu` with $source_dir
# set: makes the board driver and an image of a board build in a board
# directory of the benchmark's own, adds the benchmark's
# probe to the image as a second initramfs archive, boots the board once
# and waits for the probe's "@@ done" on the console.

# board_prepare BOARD_DIR [BOARD_BUILD]: sets $board and $mipsel (the board
# build: the product and the image's helpers on the board's C library, made
# by `make board-build`; default build/mipsel-uclibc).
board_prepare() {
  mkdir -p "$1" && board=$(cd "$1" && pwd)
  mipsel=$(cd "${2:-$source_dir/build/mipsel-uclibc}" && pwd)
  "$source_dir/sim/board/fetch_packages.sh" "$board"
  BOARD_PKGS=$board/pkgs "$source_dir/sim/board/driver/build.sh" "$board/driver" >/dev/null
  "$source_dir/sim/board/make_rootfs.sh" "$board" "$mipsel"
}

# board_add_archive DIR PATH...: the files PATH (relative to DIR) join the image.
board_add_archive() {
  dir=$1
  shift
  (cd "$dir" && printf '%s\n' "$@" | cpio -o -H newc -R 0:0 --quiet | gzip -1) \
    >> "$board/initramfs.cpio.gz"
}

# board_run [BOOT_OPTION...]: boots the board with its console in
# $board/console.log until the probe prints "@@ done" and powers it off.
# Sets $started (host time of the launch) and $booted (when the probe's
# "@@ boot" line appeared, if it printed one).
board_run() {
  console=$board/console.log
  pidfile=$board/qemu.pid
  : > "$console"
  rm -f "$pidfile"
  qemu=
  trap board_stop EXIT INT TERM
  started=$(date +%s.%N)
  "$source_dir/sim/board/boot.sh" --board-dir "$board" --mipsel-build "$mipsel" --no-rootfs \
    --console "$console" --pidfile "$pidfile" "$@" &
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
  board_stop
  grep -q '^@@ done' "$console" || { echo "board: the probe did not finish; see $console" >&2; exit 1; }
}

board_stop() {
  if [ -n "$qemu" ]; then kill "$qemu" 2>/dev/null || true; wait "$qemu" 2>/dev/null || true; fi
  qemu=
}

# The probe's "@@ ..." lines of the console.
board_lines() {
  tr -d '\r' < "$board/console.log" | sed -n 's/^.*@@ /@@ /p'
}
