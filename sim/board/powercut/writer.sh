#!/bin/sh
# The power-cut campaign's writer on the board: commits generation after
# generation to every set through the nvram tool. A generation g is, in set
# 0, then 1, then 2, one import (Gen=g, Check=g, Solo=g-1 and a padding of
# g*37%900 bytes) and one single-key set (Solo=g), so a set read back is
# whole when Gen, Check and the padding agree and Solo is g or g-1, even
# when the last generation was cut before its Solo was set.
# Usage: powercut-writer FIRST [LAST] (no LAST: until the power goes)
g=${1:?usage: powercut-writer FIRST [LAST]}
last=${2:-}
import=/tmp/powercut.import
while [ -z "$last" ] || [ "$g" -le "$last" ]; do
  pad=$(head -c $((g * 37 % 900)) /dev/zero | tr '\000' p)
  for set in 0 1 2; do
    printf 'Gen=%s\nCheck=%s\nSolo=%s\nPad=%s\n' "$g" "$g" $((g - 1)) "$pad" > "$import"
    nvram import "$set" "$import" || exit 1
    nvram set "$set" Solo "$g" || exit 1
  done
  g=$((g + 1))
done
