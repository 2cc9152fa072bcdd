#!/bin/sh
# Instructions of one `nvram get` per key of the set read: callgrind counts
# `nvram get 0 KEY` on an empty store (the built-in defaults) and on a set of
# KEYS keys of about 40 bytes each; the difference divided by KEYS is the
# marginal cost of a key, which fails the benchmark above its budget of
# 300 instructions. Runs in the sandbox, so the store is its own.
#
# Usage: bench/store_get.sh [BUILD_DIR] [KEYS]
#   BUILD_DIR  a MinSizeRel build of the nvram tool and the sandbox, made
#              or brought up to date here (default build/bench-store)
set -eu

if [ "${1:-}" != "--inside" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  source_dir=$(cd "$here/.." && pwd)
  build=${1:-$source_dir/build/bench-store}
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$build" -j "${JOBS:-2}" --target nvram_tool sandbox >/dev/null
  build=$(cd "$build" && pwd)
  exec "$build/sim/sandbox" -- /bin/sh "$here/store_get.sh" --inside "$here" "$build" "${2:-500}"
fi

here=$2
nvram=$3/nvram/nvram
keys=$4
key=Key$(printf '%03d' $((keys / 2)))

# The instructions, all told, of one `nvram get 0 $key`.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/tmp/get.callgrind "$nvram" get 0 "$key" \
    >/tmp/get.out 2>/tmp/get.valgrind
  awk '/^summary:/ { print $2 }' /tmp/get.callgrind
}

empty=$(instructions)
"$here/store_keys.sh" "$keys" >/tmp/keys.txt
"$nvram" import 0 /tmp/keys.txt
full=$(instructions)
expected=$(sed -n "s/^$key=//p" /tmp/keys.txt)
if [ "$(cat /tmp/get.out)" != "$expected" ]; then
  echo "store get: nvram get 0 $key printed '$(cat /tmp/get.out)', not '$expected'" >&2
  exit 1
fi
bytes=$(wc -c </var/lib/nvram/2860)
echo "nvram get 0 $key: $empty instructions on an empty store, $full on $keys keys ($bytes bytes)"
per_key=$(((full - empty) / keys))
budget=300
echo "per key of the set: $per_key instructions (budget $budget)"
[ "$per_key" -le "$budget" ] || { echo "store get: over its budget" >&2; exit 1; }
