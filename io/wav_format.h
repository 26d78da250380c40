// The one WAV layout the editor writes: RIFF, a 16-byte "fmt " chunk (16-bit
// mono PCM), "data", and a 60-byte "smpl" chunk with one forward loop; 2N + 112
// bytes for N samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class WavPurpose {
    Saved,    // 44100 Hz files of the save commands: scale 65536 x 0.76
    Preview,  // the preview file: scale 65536, rate chosen by the caller
};

// The complete file image. loopStart and loopEnd are the indices of the loop's
// first and last samples, as samplers read the "smpl" chunk.
std::vector<uint8_t> BuildWavImage(const float* samples, int32_t count, int32_t sampleRate,
                                   WavPurpose purpose, int32_t loopStart, int32_t loopEnd);

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target only when the whole write and close succeeded. On failure the
// target keeps its old content, the temporary file is removed, and `error`
// holds "can not open file" or "write error".
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string& error);
