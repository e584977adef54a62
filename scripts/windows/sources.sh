#!/usr/bin/env bash
# Fetches Debian's source packages into the current folder through a private apt configuration:
# the machine's own archives, as deb-src, in a lists folder of its own, so that the machine's
# apt sources and lists stay as they are.
#   sources.sh CACHE PACKAGE=VERSION...   fetches them
#   sources.sh CACHE --versions PACKAGE     the versions of a source package there, newest first
set -euo pipefail
cache=$1
shift
apt_dir="$cache/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"

# Every "deb" entry of the machine's sources, one-line and deb822 alike, as "deb-src".
{
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && awk '$1 == "deb" { $1 = "deb-src"; print }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && uris != "")
          { n = split(uris, u, " "); m = split(suites, s, " ");
            for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print "deb-src " u[i] " " s[j] " " comps }
        types = uris = suites = comps = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
      /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
      /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
      /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
      END { flush() }' "$f"
  done
} | sort -u > "$apt_dir/sources.list"

options=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
         -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache::Archives="$apt_dir/archives"
         -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" -o APT::Get::Only-Source=true)
apt-get "${options[@]}" update -qq
if [ "${1:-}" = --versions ]; then
  apt-cache "${options[@]}" showsrc "$2" | sed -n 's/^Version: //p' | sort -rV
  exit 0
fi
apt-get "${options[@]}" source --download-only -qq "$@"
