#!/usr/bin/env bash
# Every name in the PACKAGES list of scripts/setup.sh must be one that dpkg reports as
# installed once it is there; a virtual name never is, and would make every ./run and
# ./test call apt-get (root and the network) again.
set -euo pipefail
setup="${1:?path of scripts/setup.sh}"
eval "$(sed -n '/^PACKAGES=(/,/^)/p' "$setup")"
[ ${#PACKAGES[@]} -gt 5 ] || { echo "no PACKAGES list found in $setup"; exit 1; }
bad=0
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  if [ "$status" != "install ok installed" ]; then
    echo "not reported installed by dpkg: $p (${status:-unknown package})"
    bad=1
  fi
done
exit $bad
