// `qarno-wavetable-maker render TABLE.wav OUT.wav [options]`: one note of a
// saved table, played by the audition engine and written as a WAV file.
#pragma once

// Runs the command; argv[1] is "render". Returns the exit status: 0 done, 1 a
// file that could not be read or written (one line on stderr, no output
// file), 2 misuse (the usage on stderr).
int RunRenderCommand(int argc, char** argv);
