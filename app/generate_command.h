// `qarno-wavetable-maker generate OUT.wav ...`: frames computed from a formula,
// as the Formula dialog computes them in the Wavetable view, written without a
// window.
#pragma once

// Runs the command; argv[1] is "generate". Returns the exit status: 0 done, 1
// a formula that cannot be computed or a file that could not be read or
// written (one line on stderr, no output file), 2 misuse (the usage on stderr).
int RunGenerateCommand(int argc, char** argv);
