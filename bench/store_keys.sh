#!/bin/sh
# The set the store benchmarks read: N key=value lines of about 40 bytes,
# "Key000=value-000-abcdefghijklmnopqrstuvw" and on (N at most 1000).
# Usage: store_keys.sh N
awk -v n="${1:?usage: store_keys.sh N}" \
  'BEGIN { for (i = 0; i < n; ++i) printf "Key%03d=value-%03d-abcdefghijklmnopqrstuvw\n", i, i }'
