#!/usr/bin/env bash
# Builds the package to hand out: dist/kirelo-VERSION-win64.zip with kirelo.exe, the help file,
# the help pages for a browser and a read-me in Japanese and English.
#   package.sh                     install what is missing, build windows, package into dist/
#   package.sh --from BUILD --out DIR   package an existing windows build tree into DIR
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
out="$root/dist"
fresh=1
while [ $# -gt 0 ]; do
    case "$1" in
        --from) build=$2; fresh=0; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "usage: $0 [--from BUILD_DIR] [--out DIR]"; exit 2 ;;
    esac
done
if [ "$fresh" = 1 ]; then
    bash "$root/scripts/install-deps.sh"
    bash "$root/scripts/build.sh" windows
fi
# The version is project(VERSION), as the build tree recorded it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no project version in $build/CMakeCache.txt"; exit 1; }
for f in shell/kirelo.exe KireloHelp.chm KireloHelp/index.html KireloHelpEn.chm KireloHelpEn/index.html; do
    [ -f "$build/$f" ] || { echo "package: $build/$f is missing (build the windows configuration)"; exit 1; }
done

name="kirelo-$version-win64"
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d "$out/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$build/shell/kirelo.exe" "$build/KireloHelp.chm" "$build/KireloHelpEn.chm" "$stage/$name/"
cp -r "$build/KireloHelp" "$build/KireloHelpEn" "$stage/$name/"
# Windows line ends and a byte-order mark, so every Notepad reads the Japanese right.
{
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/docs/package/readme.txt"
} >"$stage/$name/README.txt"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "package: $out/$name.zip"
