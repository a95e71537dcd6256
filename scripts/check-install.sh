#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a desktop needs of
# it: a valid .desktop file and AppStream metainfo, the icon at every size, the manual
# where the program looks for it, and a program that starts from there.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=${1:?build folder}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
app=com.tamvo.Tamvo
desktop="$prefix/share/applications/$app.desktop"
meta="$prefix/share/metainfo/$app.metainfo.xml"
[ -x "$prefix/bin/Tamvo" ] || fail "no program in bin/"
[ -f "$desktop" ] || fail "no desktop file"
desktop-file-validate "$desktop" || fail "desktop file not valid"
[ -f "$meta" ] || fail "no metainfo file"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$meta" || fail "metainfo not valid"
fi
for size in 16 24 32 48 64 128 256 512; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png"
  [ -s "$png" ] || fail "no ${size}px icon"
done
# The program looks for its manual in ../share/tamvo/manual beside its own folder.
[ -f "$prefix/bin/../share/tamvo/manual/index.html" ] || fail "manual not where the program looks"
# Started from the prefix, the program finds its settings library through its RUNPATH.
"$prefix/bin/Tamvo" --version | grep -q '^Tamvo ' || fail "installed program does not start"
echo "install check passed: $prefix"
