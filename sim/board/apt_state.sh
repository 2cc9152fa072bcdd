# Sourced by the board's fetch scripts: a private apt state in a directory
# of its own, reading the host's Debian sources, so the host needs no
# foreign architecture and its apt is left alone.
#   board_apt_state DIR [deb-src]
# sets $apt_opts for apt-get and updates the state's lists once per call;
# with deb-src the host's binary sources are read for source packages too.
board_apt_state() {
  apt_dir=$1
  mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources"
  apt_opts="-o Dir::State=$apt_dir/state -o Dir::Cache=$apt_dir/cache
    -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt_dir/sources
    -o APT::Architecture=amd64 -o APT::Architectures::=amd64 -o APT::Architectures::=mipsel
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root -q"
  types=deb
  [ "${2:-}" = deb-src ] && types="deb deb-src"
  for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list; do
    [ -f "$f" ] || continue
    case "$f" in
      *.sources)
        grep -q 'debian' "$f" &&
          sed "s/^Types:.*/Types: $types/" "$f" > "$apt_dir/sources/${f##*/}" ;;
      *)
        grep '^deb ' "$f" > "$apt_dir/sources/host.list" || continue
        [ "$types" = deb ] || sed -n 's/^deb /deb-src /p' "$f" >> "$apt_dir/sources/host.list" ;;
    esac
  done
  # shellcheck disable=SC2086
  apt-get $apt_opts update >/dev/null
}
