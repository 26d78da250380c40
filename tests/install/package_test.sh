#!/usr/bin/env bash
# The Debian package made from this build by scripts/package (which fails on any
# lintian error): unpacked, it holds exactly the files the desktop looks for, its
# desktop entry and metainfo validate, its icons are the sizes their folders say,
# its manual reads without a groff warning, the metainfo's newest release is the
# program's version, and the unpacked program prints that version and renders.
set -uo pipefail
source_dir=$1 build=$2 app_id=$3
for tool in dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli sox soxi identify \
    groff; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not found"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

deb=$("$source_dir/scripts/package" --build "$build" --out "$work" | tail -n 1) ||
  fail "scripts/package failed"
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "qarno-wavetable-maker_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "package file name $deb"
[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "Section"
dpkg-deb -f "$deb" Depends | grep -q 'libfltk1.3' || fail "Depends lacks FLTK"

root=$work/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
expected=$(printf '%s\n' bin/qarno-wavetable-maker libexec/qarno-wavetable-maker/qarno-script-runner \
  share/applications/$app_id.desktop \
  share/metainfo/$app_id.metainfo.xml share/man/man1/qarno-wavetable-maker.1.gz \
  share/doc/qarno-wavetable-maker/copyright share/doc/qarno-wavetable-maker/changelog.gz \
  share/icons/hicolor/{48x48,128x128,256x256}/apps/qarno-wavetable-maker.png | sort)
found=$(cd "$usr" && find . -type f | cut -c3- | sort)
[ "$found" = "$expected" ] || fail "the package holds: $found"
for size in 48 128 256; do # identify reads the whole file: a broken chunk fails it
  info=$(identify -format '%m %wx%h' "$usr/share/icons/hicolor/${size}x$size/apps/qarno-wavetable-maker.png")
  [ "$info" = "PNG ${size}x$size" ] || fail "the ${size}-pixel icon is $info"
done
said=$(zcat "$usr/share/man/man1/qarno-wavetable-maker.1.gz" | groff -man -ww -z 2>&1) &&
  [ -z "$said" ] || fail "groff warns: $said"
said=$(desktop-file-validate "$usr/share/applications/$app_id.desktop") && [ -z "$said" ] ||
  fail "desktop-file-validate: $said"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
  fail "appstreamcli rejects the metainfo"
release=$(grep -o '<release version="[^"]*"' "$usr/share/metainfo/$app_id.metainfo.xml" | head -n 1)
[ "$release" = "<release version=\"$version\"" ] || fail "metainfo's newest release: $release"

program=$usr/bin/qarno-wavetable-maker
said=$(env -u DISPLAY "$program" --version)
[ "$said" = "QARNO Wavetable Maker $version" ] || fail "--version says: $said"
sox -n -r 44100 -b 16 -c 1 "$work/table.wav" synth 102400s sine 43.06640625 || fail "sox"
env -u DISPLAY "$program" render "$work/table.wav" "$work/note.wav" --seconds 0.5 ||
  fail "the packaged program cannot render"
echo 'function generate(wt) local r = {} for i = 1, 32 do r[i] = i % 2 end return r end' \
  > "$work/s.lua"
env -u DISPLAY "$program" generate "$work/s.wav" --script "$work/s.lua" --samples 32 ||
  fail "the packaged program cannot run a script"
[ "$(soxi -c "$work/note.wav")" = 2 ] || fail "the rendered note is not stereo"
echo "package: ok"
