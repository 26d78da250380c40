#!/bin/sh
# With no display the program says so, naming the display it tried, and ends with 1.
editor=$1
expect() {  # expect DISPLAY-VALUE SECOND-LINE
    if [ -z "$1" ]; then out=$(env -u DISPLAY "$editor" 2>&1 >/dev/null); else out=$(DISPLAY=$1 "$editor" 2>&1 >/dev/null); fi
    status=$?
    [ "$status" -eq 1 ] || { echo "exit status $status with DISPLAY=$1"; exit 1; }
    [ "$out" = "Window Creation Failed!
$2" ] || { echo "unexpected message: $out"; exit 1; }
}
expect "" "DISPLAY is not set: there is no X display to open."
expect ":4321" "The X display \":4321\" cannot be opened."
