#!/bin/sh
# With no display the program says so, naming the display it tried, and ends with 1.
out=$(env -u DISPLAY "$1" 2>&1 >/dev/null)
[ $? -eq 1 ] && [ "$out" = "Window Creation Failed!
DISPLAY is not set: there is no X display to open." ] || { echo "without DISPLAY: $out"; exit 1; }
out=$(DISPLAY=:4321 "$1" 2>&1 >/dev/null)
[ $? -eq 1 ] && [ "$out" = 'Window Creation Failed!
The X display ":4321" cannot be opened.' ] || { echo "with DISPLAY=:4321: $out"; exit 1; }
