#!/usr/bin/env bash
# Installs the packages needed to build and test Tamsel on Debian, when they
# are missing. Run as root (as CI does); as another user it only reports what
# is missing.
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run this script as root to install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
