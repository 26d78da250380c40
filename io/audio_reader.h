// Reading recorded sound of any format libsndfile knows (WAV, AIFF, FLAC, Ogg
// Vorbis, Opus, MP3), mixed to one channel, a stretch at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "io/file_access.h"

constexpr const char* CannotReadAudio = "can not read audio file";

struct AudioFileInfo {
    int64_t frames = 0; // samples per channel
    int32_t rate = 0;   // samples per second
    int32_t channels = 0;
};

// Opens the file far enough to know its length, rate and channels; false, with
// "can not read audio file" and libsndfile's reason, when it cannot.
bool ProbeAudioFile(const std::string& path, AudioFileInfo& info, FileError& error);

// Reads `count` samples per channel from sample `first` on, each the mean of
// the channels, into `mono` (resized to `count`). The file is read in blocks,
// so memory holds the span and one block, never the whole file. False, with
// the reason, when the file cannot be read or ends before the span does.
bool ReadAudioSpan(const std::string& path, int64_t first, int64_t count, std::vector<float>& mono,
                   FileError& error);

// The same span handed to `take` a block at a time (the mean of the channels,
// up to 4096 samples), for a reader that keeps less than the span.
bool ReadAudioBlocks(const std::string& path, int64_t first, int64_t count,
                     const std::function<void(const float* mono, int64_t length)>& take,
                     FileError& error);
