#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds the Debian package,
# then runs each installed Tamsel, under both command names, as an
# unprivileged user on an example: it must generate the unit, exit 0 and
# leave the installed settings file as it was. Also checks what the
# installation and the package contain: the settings as configuration with a
# link beside the executable, the manual page, licence and changelog, the
# runtime unit and its Lazarus package (built with lazbuild where installed).
# Usage: test_install.sh <build folder> <Tamsel executable> <source folder>
set -uo pipefail
build=$1 exe=$2 source=$3
examples=$source/examples

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

# Checks an installation at <prefix> whose settings live in <etc>/tamsel and
# whose lib/tamsel/Tamsel.ini links there as <link>; then runs both commands
# on the sample, in a folder of the ordinary user, with the installation
# itself not writable.
try_installed() {
  local label=$1 prefix=$2 etc=$3 link=$4
  local settings="$etc/tamsel/Tamsel.ini" doc="$prefix/share/doc/tamsel"
  for cmd in Tamsel tamsel; do
    check "$label: bin/$cmd is a link into lib/tamsel" \
      test "$(readlink "$prefix/bin/$cmd")" = "../lib/tamsel/Tamsel"
  done
  check "$label: complete default settings file" cmp -s "$settings" "$work/first/Tamsel.ini"
  check "$label: lib/tamsel/Tamsel.ini links to $link" \
    test "$(readlink "$prefix/lib/tamsel/Tamsel.ini")" = "$link"
  for f in Tamsel10.txt Tamsel10.utf8.txt README.md copyright changelog.gz examples/sample.txt \
           examples/chain_demo.pas; do
    check "$label: share/doc/tamsel/$f" test -f "$doc/$f"
  done
  check "$label: the runtime unit in share/tamsel" \
    cmp -s "$prefix/share/tamsel/Tamsel_common.pas" "$source/runtime/Tamsel_common.pas"
  for f in tamsel_runtime.lpk tamsel_runtime.pas; do
    check "$label: the Lazarus package's $f in share/tamsel/lazarus" \
      cmp -s "$prefix/share/tamsel/lazarus/$f" "$source/runtime/lazarus/$f"
  done
  check "$label: the manual is Shift-JIS with CR LF" \
    bash -c "iconv -f CP932 -t UTF-8 '$doc/Tamsel10.txt' | tr -d '\r' | cmp -s - '$doc/Tamsel10.utf8.txt'"
  check "$label: the manual names itself" grep -q "Tamsel 1.0" "$doc/Tamsel10.utf8.txt"
  check "$label: the copyright file holds the licence" \
    grep -qx " Permission is hereby granted, free of charge, to any person obtaining a copy" "$doc/copyright"
  if command -v dpkg-parsechangelog >/dev/null; then
    check "$label: the changelog is a Debian changelog of version 1.2" \
      test "$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version)" = 1.2
  fi
  local man1="$prefix/share/man/man1"
  check "$label: manual page Tamsel.1.gz" bash -c "zcat '$man1/Tamsel.1.gz' | cmp -s - '$source/docs/Tamsel.1'"
  check "$label: manual page tamsel.1.gz links to it" test "$(readlink "$man1/tamsel.1.gz")" = "Tamsel.1.gz"
  if command -v man >/dev/null; then
    for page in Tamsel tamsel; do
      check "$label: man $page finds the page" \
        test "$(MANPATH="$prefix/share/man" man -w "$page")" = "$man1/Tamsel.1.gz"
    done
  fi

  chmod -R a-w "$prefix" "$etc"
  local before
  before=$(stat -c '%y %s' "$settings")
  local run="$work/run-$label"
  mkdir "$run"
  cp "$examples/sample.txt" "$run/"
  chmod 777 "$run"
  for cmd in Tamsel tamsel; do
    rm -f "$run/sample.pas"
    (cd "$run" && as_user "$prefix/bin/$cmd" sample.txt >"$run/.out" 2>&1)
    check "$label: installed $cmd exits 0" test $? -eq 0
    check "$label: installed $cmd writes the unit" cmp -s "$run/sample.pas" "$examples/sample.pas"
    (cd "$run" && as_user "$prefix/bin/$cmd" --version >"$run/$cmd.version" 2>&1)
  done
  check "$label: both commands print the original banner" \
    cmp -s "$run/tamsel.version" "$source/tests/golden/help/version.txt"
  check "$label: Tamsel prints the same banner" cmp -s "$run/Tamsel.version" "$run/tamsel.version"
  if command -v fpc >/dev/null; then
    # As the README says: the installed runtime unit, read-only, with a unit
    # output folder of the user's own.
    mkdir "$run/units" && chmod 777 "$run/units"
    cp "$examples/sample_demo.pas" "$run/" && chmod a+r "$run/sample_demo.pas"
    (cd "$run" && as_user fpc -Mdelphi -Fu"$prefix/share/tamsel" -FUunits sample_demo.pas >"$run/fpc.log" 2>&1)
    check "$label: fpc -FU compiles against the installed runtime unit" test $? -eq 0
  fi
  if command -v lazbuild >/dev/null; then
    # The installed package, read-only, finds the runtime unit beside it and
    # compiles into the user's own Lazarus configuration.
    bash "$source/tests/lazarus/run_lazarus.sh" "$exe" "$examples" "$prefix/share/tamsel" \
      "$prefix/share/tamsel/lazarus" >"$run/lazarus.log" 2>&1
    local status=$?
    check "$label: a Lazarus project builds with the installed package" test $status -eq 0
    [ $status -eq 0 ] || cat "$run/lazarus.log" >&2
  fi
  check "$label: installed settings file untouched" test "$(stat -c '%y %s' "$settings")" = "$before"
  check "$label: nothing else written" test "$(ls -A "$prefix/lib/tamsel" | tr '\n' ' ')" = "Tamsel Tamsel.ini "
  chmod -R u+w "$prefix" "$etc"
}

# cmake --install into a temporary prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAILED: cmake --install" >&2; exit 1; }
try_installed install "$work/prefix" "$work/prefix/etc" ../../etc/tamsel/Tamsel.ini

# The Debian package.
if command -v dpkg-deb >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null) || { echo "FAILED: cpack" >&2; exit 1; }
  deb=$(ls "$work"/pkg/*.deb)
  check "package: tamsel 1.2" test "$(dpkg-deb -f "$deb" Package Version | tr '\n' ' ')" = "Package: tamsel Version: 1.2 "
  contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for f in ./usr/bin/Tamsel ./usr/bin/tamsel ./usr/lib/tamsel/Tamsel ./usr/lib/tamsel/Tamsel.ini \
           ./etc/tamsel/Tamsel.ini ./usr/share/tamsel/Tamsel_common.pas \
           ./usr/share/tamsel/lazarus/tamsel_runtime.lpk ./usr/share/tamsel/lazarus/tamsel_runtime.pas \
           ./usr/share/man/man1/Tamsel.1.gz ./usr/share/man/man1/tamsel.1.gz \
           ./usr/share/doc/tamsel/copyright ./usr/share/doc/tamsel/changelog.gz \
           ./usr/share/doc/tamsel/Tamsel10.txt ./usr/share/doc/tamsel/examples/sample.txt; do
    check "package holds $f" grep -qx "$f" <<<"$contents"
  done
  check "package: the settings file is a configuration file" \
    test "$(dpkg-deb -I "$deb" conffiles)" = /etc/tamsel/Tamsel.ini
  mkdir "$work/deb"
  dpkg-deb -x "$deb" "$work/deb"
  # The package's link names /etc itself; for the run, it leads into the
  # unpacked tree instead.
  link=$(readlink "$work/deb/usr/lib/tamsel/Tamsel.ini")
  ln -sfn ../../../etc/tamsel/Tamsel.ini "$work/deb/usr/lib/tamsel/Tamsel.ini"
  try_installed package "$work/deb/usr" "$work/deb/etc" ../../../etc/tamsel/Tamsel.ini
  check "package: lib/tamsel/Tamsel.ini links to /etc/tamsel/Tamsel.ini" test "$link" = /etc/tamsel/Tamsel.ini
else
  echo "skipped the Debian package: dpkg-deb is missing"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
