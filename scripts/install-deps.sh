#!/usr/bin/env bash
# Installs the Debian packages that are missing from the lists given as arguments
# (scripts/packages.txt when none is given).
# As root it calls apt-get directly, otherwise through sudo when that works without a
# password; if neither is possible it names the packages to install and fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[[ ${#lists[@]} -eq 0 ]] && lists=("$here/packages.txt")
mapfile -t wanted < <(cat "${lists[@]}" | grep -v -e '^#' -e '^[[:space:]]*$')

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
else
  echo "error: these Debian packages are missing and this user cannot install them:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -q
"${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
