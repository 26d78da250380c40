// Numbers, seconds and note names as people type them, read by one rule for
// the command line and every dialog: spaces around the text are allowed,
// anything else after it is not. Any text is safe to hand these functions.
#pragma once

#include <optional>
#include <string>

// A decimal number ("-7", "2.5", ".5", "1e3"; no hexadecimal, no NaN or
// infinity) within lo .. hi; when `whole`, also without a fraction ("64.0"
// counts as whole).
std::optional<double> ParseNumber(const std::string& text, double lo, double hi,
                                  bool whole = false);

// A whole number within lo .. hi.
std::optional<int> ParseWhole(const std::string& text, int lo, int hi);

// Seconds: a number of at least 0.
std::optional<double> ParseSeconds(const std::string& text);

// A note name, a letter A to G in either case, an optional # or b and an
// octave number ("C#3", "Eb2", "A-1"), as its MIDI note number, C4 being 60;
// the number may lie outside 0 .. 127.
std::optional<int> ParseNoteName(const std::string& text);

// The name of a MIDI note number: "C4" for 60, "C#-1" for 1, sharps for the
// black keys.
std::string NoteName(int midiNote);

// The frequency of a MIDI note number, A4 = 69 being 440 Hz.
double NoteHz(double midiNote);
