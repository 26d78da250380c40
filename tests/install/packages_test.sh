#!/usr/bin/env bash
# On a fake system with nothing installed, QARNO_DEPS_DRY_RUN lists what scripts/run and
# scripts/test would install (apt-get reached by mistake fails): run no test tool, test both lists.
set -uo pipefail
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 1\n' > "$fake/dpkg-query"
printf '#!/bin/sh\necho "apt-get was called: $*" >&2\nexit 1\n' > "$fake/apt-get"
chmod +x "$fake/dpkg-query" "$fake/apt-get"
fail() { echo "FAIL: $*" >&2; exit 1; }
asks() { PATH="$fake:$PATH" QARNO_DEPS_DRY_RUN=1 DISPLAY=:0 "$1/scripts/$2" | tr '\n' ' '; }
run_asks=" $(asks "$1" run) " || fail "scripts/run with QARNO_DEPS_DRY_RUN=1 failed"
test_asks=" $(asks "$1" test) " || fail "scripts/test with QARNO_DEPS_DRY_RUN=1 failed"
for p in build-essential cmake libfltk1.3-dev libsdl2-dev libfftw3-dev; do
  [[ $run_asks == *" $p "* && $test_asks == *" $p "* ]] || fail "not both scripts ask for $p"
done
for p in libgtest-dev googletest libbenchmark-dev xvfb xdotool imagemagick clang \
         libclang-rt-dev desktop-file-utils appstream; do
  [[ $run_asks != *" $p "* ]] || fail "scripts/run asks for the test tool $p"
  [[ $test_asks == *" $p "* ]] || fail "scripts/test does not ask for $p"
done
