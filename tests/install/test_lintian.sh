#!/usr/bin/env bash
# Builds the Debian package and has lintian check it: any error or warning
# fails (notes and pedantic findings are shown by `lintian -I` but do not).
# Skipped (exit 77) where lintian or dpkg-deb is not installed.
# Usage: test_lintian.sh <build folder>
set -uo pipefail
build=$1

if ! command -v lintian >/dev/null || ! command -v dpkg-deb >/dev/null; then
  echo "skipped: lintian is not installed (scripts/install-deps.sh --ci installs it)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null) || { echo "FAILED: cpack" >&2; exit 1; }
deb=$(ls "$work"/*.deb)
as_root=()
[ "$(id -u)" -eq 0 ] && as_root=(--allow-root)
lintian "${as_root[@]}" --fail-on error,warning "$deb"
status=$?
if [ "$status" -ne 0 ]; then
  echo "FAILED: lintian found errors or warnings in $(basename "$deb") (exit $status)" >&2
  exit 1
fi
echo "PASSED: lintian $(basename "$deb")"
