// `qarno-wavetable-maker import AUDIO OUT.wav [options]`: a table made from
// recorded sound, cycle by cycle at its own pitch, written without a window.
#pragma once

// Runs the command; argv[1] is "import". Prints the pitch used on the
// standard output. Returns the exit status: 0 done, 1 a file that could not be
// read or written (one line on stderr, no output file), 2 misuse, a span that ends
// before it starts included (the usage on stderr).
int RunImportCommand(int argc, char** argv);
