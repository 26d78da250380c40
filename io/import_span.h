// Where a recorded note is steady: the span Import Audio offers by default,
// found from the file's level over time and its pitch.
#pragma once

#include <string>
#include <vector>

#include "io/audio_reader.h"

// The span of a file to take, in seconds; the end beyond the file is its end.
struct AudioSpan {
    double from = 0.0;
    double to = 0.0;
};

// The file's level over time: the level of the 50 ms window starting at every
// `step` seconds, in dB below the loudest window (0 there, never below
// EnvelopeFloor).
struct AudioEnvelope {
    double step = 0.0;
    std::vector<float> levels;
};
constexpr float EnvelopeFloor = -90.0f;

// Reads the file a block at a time for its envelope and its steady span: from
// 50 ms after the start of the first window within 6 dB of the loudest (the
// attack is over) to the start of the last window that is within 12 dB of the
// loudest and in which the pitch tracker finds a period (the release and the
// silence after it left out, so that no frame cut from the span is more than
// about 12 dB below the loudest). The whole file when it is silent. False,
// with the reason, when the file cannot be read.
bool FindSteadySpan(const std::string& path, const AudioFileInfo& info, AudioEnvelope& envelope,
                    AudioSpan& span, FileError& error);
