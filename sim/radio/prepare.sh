#!/bin/sh
# Makes the radio board in BOARD_DIR: the virtual board (its packages,
# driver and root filesystem) with real WPS peers appended as a second
# archive (the kernel unpacks concatenated archives in turn): Debian's
# hostapd, wpa_supplicant and iw under /opt/peers with the glibc they were
# built for and its own loader, the simulated radios' kernel modules, the
# access points' start-up, the bridge from hostapd's WPS events to the
# board driver and the phones (rootfs/). The firmware's own programs and C
# library stay as the board builds them.
# Usage: prepare.sh BOARD_DIR MIPSEL_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
board_scripts=$here/../board
mkdir -p "${1:?usage: prepare.sh BOARD_DIR MIPSEL_BUILD}"
board=$(cd "$1" && pwd)
mipsel_build=$(cd "${2:?usage: prepare.sh BOARD_DIR MIPSEL_BUILD}" && pwd)

"$board_scripts/fetch_packages.sh" "$board"
"$board_scripts/fetch_packages.sh" "$board" "$here/packages.conf"
BOARD_PKGS=$board/pkgs "$board_scripts/driver/build.sh" "$board/driver" >/dev/null
"$board_scripts/make_rootfs.sh" "$board" "$mipsel_build"

pkgs=$board/pkgs
kernel_pkg=$(ls -d "$pkgs"/linux-image-*-4kc-malta | head -n 1)
kver=${kernel_pkg##*/linux-image-}
extra=$board/radio-rootfs
rm -rf "$extra"
mkdir -p "$extra/opt/peers/lib" "$extra/opt/peers/libexec" "$extra/lib/modules/$kver"
cp -R "$here/rootfs/." "$extra/"

# The peers' programs, and every library they need (followed through the
# libraries' own needs), taken from the peers' packages only.
programs="hostapd/usr/sbin/hostapd hostapd/usr/sbin/hostapd_cli
  wpasupplicant/sbin/wpa_supplicant wpasupplicant/sbin/wpa_cli iw/sbin/iw"
lib_dirs=$(sed -n 's/^\([a-z0-9][^ ]*\) .*/\1/p' "$here/packages.conf" |
  while read -r name; do
    for dir in lib lib/mipsel-linux-gnu usr/lib/mipsel-linux-gnu; do
      [ -d "$pkgs/$name/$dir" ] && echo "$pkgs/$name/$dir"
    done
  done)
find_library() {
  for dir in $lib_dirs; do
    [ -e "$dir/$1" ] && { echo "$dir/$1"; return 0; }
  done
  echo "radio: no package of sim/radio/packages.conf has $1" >&2
  return 1
}
queue=
for program in $programs; do
  cp "$pkgs/$program" "$extra/opt/peers/libexec/"
  queue="$queue $pkgs/$program"
done
while [ -n "$queue" ]; do
  set -- $queue
  file=$1
  shift
  queue=$*
  for library in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    [ -e "$extra/opt/peers/lib/$library" ] && continue
    path=$(find_library "$library")
    cp -L "$path" "$extra/opt/peers/lib/$library"
    queue="$queue $path"
  done
done

# Simulated radios (mac80211_hwsim) and the ciphers the kernel would load
# through modprobe, which the board does not have; S35radio loads them in
# this order.
modules_src=$kernel_pkg/lib/modules/$kver/kernel
for module in net/rfkill/rfkill.ko lib/crypto/libarc4.ko net/wireless/cfg80211.ko \
              net/mac80211/mac80211.ko drivers/virtio/virtio.ko drivers/virtio/virtio_ring.ko \
              drivers/net/wireless/mac80211_hwsim.ko crypto/ctr.ko crypto/ccm.ko crypto/cmac.ko; do
  cp "$modules_src/$module" "$extra/lib/modules/$kver/"
done

(cd "$extra" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort |
  cpio -o -H newc -R 0:0 --quiet | gzip -1) >> "$board/initramfs.cpio.gz"
