#!/usr/bin/env bash
# Makes the Debian package from the Linux build with cpack and checks it: every shared
# library the packaged binary needs belongs to a package named in Depends, the package,
# --version, the metainfo and the manual page name one version, and lintian reports no
# error and no hardening tag (its other warnings and notes are printed for the reader).
# Usage: check_debian_package.sh BUILD_DIR WORK_DIR
source "$(dirname "$0")/support.sh"
build=$1 work=$2
need cpack cmake
need dpkg-shlibdeps dpkg-dev
need lintian lintian
need readelf binutils
need xmllint libxml2-utils

rm -rf "$work"
cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work.cpack.log" 2>&1 ||
  { cat "$work.cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/moviquel_*.deb)
note "$(basename "$deb"): $(stat -c %s "$deb") bytes"

unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
binary=$unpacked/usr/bin/moviquel
[ -x "$binary" ] || fail "the package holds no usr/bin/moviquel"
depends=$(dpkg-deb -f "$deb" Depends)
note "Depends: $depends"
# The package names alone, one a line (versions and alternatives dropped).
depends_names=$(sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends")
# Each needed library as the dynamic loader finds it, and the package that ships it.
for library in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(ldd "$binary" | awk -v l="$library" '$1 == l { print $3 }')
  [ -n "$path" ] || fail "$library is not found on this machine"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null ||
          dpkg -S "/usr$path" 2>/dev/null) || fail "no package ships $path"
  owner=${owner%%:*}
  grep -qxF "$owner" <<<"$depends_names" || fail "$library comes from $owner, not in Depends"
done

version=$(dpkg-deb -f "$deb" Version)
note "version $version"
program=$("$binary" --version) || fail "moviquel --version failed"
metainfo=$(xmllint --xpath 'string(//release/@version)' \
           "$unpacked/usr/share/metainfo/example.mql.moviquel.metainfo.xml")
manual=$(gzip -dc "$unpacked/usr/share/man/man6/moviquel.6.gz" |
         sed -n 's/^\.TH .*"Moviquel Player \([^"]*\)".*/\1/p')
[ "$program" = "Moviquel Player $version" ] || fail "--version says '$program', the package $version"
[ "$metainfo" = "$version" ] || fail "the metainfo's release is '$metainfo', the package $version"
[ "$manual" = "$version" ] || fail "the manual page names version '$manual', the package $version"

note "lintian"
report=$(lintian --pedantic --display-info "$deb" 2>/dev/null) || true
[ -z "$report" ] || echo "$report"
if grep -q '^E: ' <<<"$report"; then fail "lintian reports errors"; fi
if grep -q ' hardening-' <<<"$report"; then fail "the binary lacks Debian's hardening"; fi
note "package passes"
