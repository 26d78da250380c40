#!/usr/bin/env bash
# scripts/run must ask for what building and running need and for no test tool;
# scripts/test must ask for both. Both run against a fake system with nothing
# installed, where QARNO_DEPS_DRY_RUN only lists what would be installed (an
# apt-get reached by mistake fails instead of installing).
set -uo pipefail
source_dir=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 1\n' > "$fake/dpkg-query"
printf '#!/bin/sh\necho "apt-get was called: $*" >&2\nexit 1\n' > "$fake/apt-get"
chmod +x "$fake/dpkg-query" "$fake/apt-get"

fail() { echo "FAIL: $*" >&2; exit 1; }
asks() {
  PATH="$fake:$PATH" QARNO_DEPS_DRY_RUN=1 DISPLAY=:0 "$source_dir/scripts/$1" ||
    fail "scripts/$1 with QARNO_DEPS_DRY_RUN=1 failed"
}
run_asks=" $(asks run | tr '\n' ' ') " || exit 1
test_asks=" $(asks test | tr '\n' ' ') " || exit 1
echo "scripts/run asks for:$run_asks"
echo "scripts/test asks for:$test_asks"

for p in build-essential cmake libfltk1.3-dev libsdl2-dev libfftw3-dev; do
  [[ $run_asks == *" $p "* ]] || fail "scripts/run does not ask for $p"
  [[ $test_asks == *" $p "* ]] || fail "scripts/test does not ask for $p"
done
for p in libgtest-dev googletest libbenchmark-dev xvfb xdotool imagemagick clang \
         libclang-rt-dev desktop-file-utils appstream; do
  [[ $run_asks != *" $p "* ]] || fail "scripts/run asks for the test tool $p"
  [[ $test_asks == *" $p "* ]] || fail "scripts/test does not ask for $p"
done
echo "ok: scripts/run asks for no test tool, scripts/test for both lists"
