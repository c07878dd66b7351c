#!/usr/bin/env bash
# Builds the Windows ZIP with CPack and checks what it holds; then runs the
# Tamsel.exe from it under Wine on an example, with the folder read-only.
# Usage: test_zip.sh <build folder> <wine> <examples folder>
set -uo pipefail
build=$1 wine=$2 examples=$3
export WINEDEBUG=-all
export WINEPREFIX=${TAMSEL_WINEPREFIX:-${TMPDIR:-/tmp}/tamsel-wineprefix}

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work/pkg" >/dev/null) || { echo "FAILED: cpack" >&2; exit 1; }
zip=$(ls "$work"/pkg/*.zip)
python3 - "$zip" "$work/unzipped" <<'PY' || exit 1
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
want = {"Tamsel.exe", "Tamsel.ini", "Tamsel10.txt", "Tamsel_common.pas", "LICENSE.txt", "CHANGELOG.md",
        "lazarus/tamsel_runtime.lpk", "lazarus/tamsel_runtime.pas",
        "examples/sample.txt",
        "examples/appoptions.txt", "examples/chain_demo.pas"}
missing = want - names
if missing:
    print("FAILED: the ZIP lacks", sorted(missing), file=sys.stderr)
    sys.exit(1)
# The Lazarus package names its files relative to its own folder.
import posixpath, xml.etree.ElementTree as ET
lpk = ET.fromstring(zipfile.ZipFile(sys.argv[1]).read("lazarus/tamsel_runtime.lpk"))
for item in lpk.find("Package/Files"):
    name = posixpath.normpath(posixpath.join("lazarus", item.find("Filename").get("Value")))
    if name not in names:
        print("FAILED: the ZIP lacks", name, "of the Lazarus package", file=sys.stderr)
        sys.exit(1)
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
dir="$work/unzipped"
before=$(md5sum <"$dir/Tamsel.ini")
mkdir "$work/run" && cp "$examples/sample.txt" "$work/run/"
chmod -R a-w "$dir"
(cd "$work/run" && "$wine" "$dir/Tamsel.exe" sample.txt >/dev/null 2>&1) || { echo "FAILED: Tamsel.exe from the ZIP" >&2; exit 1; }
cmp -s "$work/run/sample.pas" "$examples/sample.pas" || { echo "FAILED: unit from the ZIP's Tamsel.exe" >&2; exit 1; }
[ "$(md5sum <"$dir/Tamsel.ini")" = "$before" ] || { echo "FAILED: the ZIP's Tamsel.ini was written" >&2; exit 1; }
echo "PASSED: Windows ZIP"
