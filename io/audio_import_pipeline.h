// Import Audio's pipeline: recorded sound read, its pitch tracked and its
// cycles cut into frames. Changes nothing of the document: io/audio_import.h
// is the command that puts the frames into the table.
#pragma once

#include <cstdint>
#include <string>

#include "io/audio_reader.h"

// The span of a file to take, in seconds; the end beyond the file is its end.
struct AudioSpan {
    double from = 0.0;
    double to = 0.0;
};

// The whole file less its first 5 %, where the attack is.
AudioSpan DefaultSpan(const AudioFileInfo& info);

// Reads the span of the file and fills `count` frames (1 or 100) at `out` with
// its cycles, at `pitch` Hz when above 0, else at the pitch tracked along the
// span. `found` receives the pitch used. False, with the one-line message to
// show and `out` untouched, when the file cannot be read, the span holds fewer
// than two cycles, or no steady pitch is found.
bool ImportAudioCycles(const std::string& path, const AudioSpan& span, double pitch, int32_t count,
                       float* out, double& found, std::string& message);

// The detected pitch of the file's default span as the import dialog shows
// it: "G3 +2 cents, 196.2 Hz" or "no steady pitch found"; false, with the
// message, when the file cannot be read.
bool DescribeAudioFile(const std::string& path, AudioFileInfo& info, std::string& pitch,
                       std::string& message);
