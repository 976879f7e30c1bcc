#!/usr/bin/env bash
# Installs what Varnok needs to build and test on Debian 12, if anything is missing.
# Further packages named as arguments are installed with them (scripts/package, scripts/fuzz).
set -euo pipefail

packages=(cmake make g++ qt6-base-dev libgl-dev libgtest-dev libchm-dev libchm1 fp-utils fonts-dejavu-core "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "varnok setup: these packages are missing: ${missing[*]}" >&2
    echo "Install them as root:  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
fi
echo "varnok setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
