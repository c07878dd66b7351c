#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds the Debian package,
# then runs each installed Tamsel as an unprivileged user on an example: it
# must generate the unit, exit 0 and leave the installed settings file as it
# was. Also checks what the installation and the package contain.
# Usage: test_install.sh <build folder> <Tamsel executable> <examples folder>
set -uo pipefail
build=$1 exe=$2 examples=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

passed=0 failed=0
check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what" >&2; fi
}

# Runs a command as an ordinary user: "nobody" when we are root.
as_user() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

# The settings file a first run writes, for comparison with the installed one.
mkdir "$work/first"
cp "$exe" "$work/first/Tamsel"
cp "$examples/sample.txt" "$work/first/"
(cd "$work/first" && ./Tamsel sample.txt) || { echo "FAILED: first run" >&2; exit 1; }

# Runs the installed Tamsel at <prefix>/bin/Tamsel on the sample, in a folder
# of the ordinary user, with the installation itself not writable.
try_installed() {
  local label=$1 prefix=$2
  local settings="$prefix/lib/tamsel/Tamsel.ini"
  check "$label: bin/Tamsel is a link into lib/tamsel" \
    test "$(readlink "$prefix/bin/Tamsel")" = "../lib/tamsel/Tamsel"
  check "$label: complete default settings file" cmp -s "$settings" "$work/first/Tamsel.ini"
  for f in Tamsel10.txt Tamsel10.utf8.txt Tamsel_common.pas examples/sample.txt examples/chain_demo.pas; do
    check "$label: share/doc/tamsel/$f" test -f "$prefix/share/doc/tamsel/$f"
  done
  check "$label: the manual is Shift-JIS with CR LF" \
    bash -c "iconv -f CP932 -t UTF-8 '$prefix/share/doc/tamsel/Tamsel10.txt' | tr -d '\r' | cmp -s - '$prefix/share/doc/tamsel/Tamsel10.utf8.txt'"
  check "$label: the manual names itself" grep -q "Tamsel 1.0" "$prefix/share/doc/tamsel/Tamsel10.utf8.txt"

  chmod -R a-w "$prefix"
  local before
  before=$(stat -c '%y %s' "$settings")
  local run="$work/run-$label"
  mkdir "$run"
  cp "$examples/sample.txt" "$run/"
  chmod 777 "$run"
  (cd "$run" && as_user "$prefix/bin/Tamsel" sample.txt >"$run/.out" 2>&1)
  check "$label: installed Tamsel exits 0" test $? -eq 0
  check "$label: installed Tamsel writes the unit" cmp -s "$run/sample.pas" "$examples/sample.pas"
  check "$label: installed settings file untouched" test "$(stat -c '%y %s' "$settings")" = "$before"
  check "$label: nothing else written" test "$(ls -A "$prefix/lib/tamsel" | tr '\n' ' ')" = "Tamsel Tamsel.ini "
  chmod -R u+w "$prefix"
}

# cmake --install into a temporary prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAILED: cmake --install" >&2; exit 1; }
try_installed install "$work/prefix"

# The Debian package.
if command -v dpkg-deb >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null) || { echo "FAILED: cpack" >&2; exit 1; }
  deb=$(ls "$work"/pkg/*.deb)
  check "package: tamsel 1.0" test "$(dpkg-deb -f "$deb" Package Version | tr '\n' ' ')" = "Package: tamsel Version: 1.0 "
  contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for f in ./usr/bin/Tamsel ./usr/lib/tamsel/Tamsel ./usr/lib/tamsel/Tamsel.ini \
           ./usr/share/doc/tamsel/Tamsel10.txt ./usr/share/doc/tamsel/Tamsel_common.pas \
           ./usr/share/doc/tamsel/examples/sample.txt; do
    check "package holds $f" grep -qx "$f" <<<"$contents"
  done
  mkdir "$work/deb"
  dpkg-deb -x "$deb" "$work/deb"
  try_installed package "$work/deb/usr"
else
  echo "skipped the Debian package: dpkg-deb is missing"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
