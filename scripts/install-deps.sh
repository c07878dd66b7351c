#!/usr/bin/env bash
# Installs the Debian packages Tamsel needs, when they are missing: directly
# as root (as CI runs it), through sudo otherwise.
#   scripts/install-deps.sh --tool what building the program needs (the
#                                  configuration looks for GoogleTest too)
#   scripts/install-deps.sh        what building and testing need
#   scripts/install-deps.sh --ci   also the fuzzer's clang, the Windows cross
#                                  build with Wine, lintian for the package,
#                                  and lazbuild with the Lazarus sources it
#                                  reads (the FCL and LazUtils packages) for
#                                  the Lazarus package's test
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev)
case "${1:-}" in
  --tool) ;;
  "") packages+=(locales fp-compiler fp-units-fcl) ;;
  --ci) packages+=(locales fp-compiler fp-units-fcl
                   clang libclang-rt-14-dev g++-mingw-w64-x86-64 wine64 lintian
                   lcl-utils lazarus-src-2.2) ;;
  *) echo "usage: $0 [--tool|--ci]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "missing packages: ${missing[*]} (run this script as root to install them)" >&2
    exit 1
  fi
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
