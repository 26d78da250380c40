// Import Audio's pipeline: recorded sound read, its pitch tracked and its
// cycles cut into frames. Changes nothing of the document: io/audio_import.h
// is the command that puts the frames into the table.
#pragma once

#include <cstdint>
#include <string>

#include "io/import_span.h"

// "the span ends before it starts" when it does, else nullptr.
const char* SpanProblem(const AudioSpan& span);

// Reads the span of the file and fills `count` frames (1 or 100) at `out` with
// its cycles, at `pitch` Hz when above 0, else at the pitch tracked along the
// span. `found` receives the pitch used. False, with the one-line message to
// show and `out` untouched, when the span ends before it starts, the file
// cannot be read, the span holds fewer than two cycles, or no steady pitch is
// found.
bool ImportAudioCycles(const std::string& path, const AudioSpan& span, double pitch, int32_t count,
                       float* out, double& found, std::string& message);

// What the import dialog shows of a file before the user chooses: its length,
// its envelope, its steady span (io/import_span.h) and the pitch detected
// along that span, "G3 +2 cents, 196.2 Hz" or "no steady pitch found".
struct AudioFileSummary {
    AudioFileInfo info;
    AudioEnvelope envelope;
    AudioSpan span;
    std::string pitch;
};
// False, with the message, when the file cannot be read.
bool DescribeAudioFile(const std::string& path, AudioFileSummary& summary, std::string& message);
