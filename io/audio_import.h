// Import Audio: tables made from recorded sound, cycle by cycle at its own pitch.
#pragma once

#include <cstdint>
#include <string>

#include "io/audio_reader.h"
#include "platform/platform.h"

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

// File > Import Audio...: asks for an audio file, then imports it as a drop does.
void ImportAudio(WindowHandle owner);

// Imports the file through the import dialog: 100 frames in the Wavetable view,
// one cycle into the current frame in the Waveform view. The undo snapshot is
// taken just before the table changes; Cancel and every failure leave the
// table and the snapshot as they were, a failure with a message box.
void ImportAudioFile(WindowHandle owner, const std::string& path);
