# Turns the board probe's "@@ ..." console lines (bench/board_probe.sh) into
# the figures: boot time, CPU time over the idle minute, memory totals and
# memory per mapping (Rss, Pss, Private_Dirty in kB), and which 64 kB
# windows of each code mapping are mapped in (the kernel maps a file's
# cached pages around a fault in such windows). Clock ticks are 10 ms.
function mapping_name(perms, path) {
  if (path == "") path = "[anon]"
  return path " " perms
}
$2 == "boot" {
  printf "boot: both daemons started %.2f s after the kernel (buttond %.2f s, uplinkd %.2f s)\n",
    ($3 > $4 ? $3 : $4) / 100, $3 / 100, $4 / 100
  if (booted != "") printf "      host: qemu launched to probe running %.1f s\n", booted - launch
}
$3 == "cpu0" { cpu0[$2] = $4 + $5 }
$3 == "cpu1" {
  ticks = $4 + $5 - cpu0[$2]
  printf "cpu over 60 s idle: %-16s %4d ms (%.2f%%)\n", $2, ticks * 10, ticks * 10 / 600
}
$3 == "status" || $3 == "rollup" {
  key = $4; sub(/:$/, "", key)
  if (key == "VmRSS" || key == "Pss" || key == "Private_Dirty" || key == "Rss") total[$2, key] = $5
  if (!($2 in seen)) { seen[$2] = 1; order[++programs] = $2 }
}
$3 == "pages" {
  windows = ""; mapped = 0
  for (i = 1; i <= length($5); i += 16) {
    if (index(substr($5, i, 16), "1")) { windows = windows sprintf(" %x", (i - 1) / 16); ++mapped }
  }
  if (mapped > 0) code_windows[$2, ++code_maps[$2]] = sprintf("  %-30s %2d windows:%s", $4, mapped, windows)
}
$3 == "smaps" && $4 ~ /^[0-9a-f]+-[0-9a-f]+$/ {
  current = mapping_name($5, $9)
  if (!(($2, current) in listed)) { listed[$2, current] = 1; maps[$2, ++count[$2]] = current }
  next
}
$3 == "smaps" && ($4 == "Rss:" || $4 == "Pss:" || $4 == "Private_Dirty:") {
  key = $4; sub(/:$/, "", key)
  per_map[$2, current, key] += $5
}
# ratio SUFFIX LABEL: both daemons' VmRSS against the sampler's, for the
# round whose names end in SUFFIX.
function ratio(suffix, label,    floor) {
  floor = total["minimal_sampler" suffix, "VmRSS"]
  if (floor > 0) {
    printf "%s: buttond %.2fx, uplinkd %.2fx\n", label,
      total["buttond" suffix, "VmRSS"] / floor, total["uplinkd" suffix, "VmRSS"] / floor
  }
}
END {
  printf "\nmemory (kB)                VmRSS     Pss  Private_Dirty\n"
  for (i = 1; i <= programs; ++i) {
    p = order[i]
    printf "%-24s %7d %7d %14d\n", p, total[p, "VmRSS"], total[p, "Pss"], total[p, "Private_Dirty"]
  }
  ratio("", "VmRSS against the minimal sampler")
  ratio("-touched", "with fault-around at one page")
  for (i = 1; i <= programs; ++i) {
    p = order[i]
    printf "\n%s per mapping             Rss     Pss  Private_Dirty\n", p
    for (m = 1; m <= count[p]; ++m) {
      name = maps[p, m]
      if (per_map[p, name, "Rss"] == 0) continue
      printf "  %-30s %7d %7d %14d\n", name, per_map[p, name, "Rss"], per_map[p, name, "Pss"],
        per_map[p, name, "Private_Dirty"]
    }
    printf "  code mapped in, by 64 kB window from the mapping's start:\n"
    for (m = 1; m <= code_maps[p]; ++m) print "  " code_windows[p, m]
  }
}
