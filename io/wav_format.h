// The WAV layouts the editor writes. The 16-bit one: RIFF, a 16-byte "fmt "
// chunk (16-bit mono PCM), "data", a 60-byte "smpl" chunk with one forward loop
// (2N + 112 bytes for N samples) and, in saved frames and tables, a "srge"
// chunk naming the 1024-sample frame size (16 bytes more). The 2048-sample
// export: 32-bit float frames with a "clm " chunk, as wavetable synthesizers
// that cut files into 2048-sample frames read them. Every file of floats (the
// export, rendered notes, projects) has the 18-byte "fmt " and the "fact"
// chunk that readers expect of a format other than PCM.
#pragma once

#include <cstdint>
#include <vector>

enum class WavPurpose {
    SavedFrames, // Save Waveform and Save Wavetable: scale 65536 x 0.76, frame size tagged
    SavedPad,    // Save Padwave: scale 65536 x 0.76, a sample rather than a table
    Preview,     // the preview file: scale 65536, rate chosen by the caller
};

// The frame length of the export, which its "clm " chunk names.
constexpr int32_t ExportFrameSize = 2048;

// RIFF, WAVE, an 18-byte "fmt " chunk of 32-bit IEEE float (extension size 0)
// and a "fact" chunk naming the samples per channel: the first 50 bytes of every
// float file. `chunkBytes` counts the chunks that follow, headers included.
constexpr uint32_t FloatHeaderBytes = 50;
void PutFloatHeader(std::vector<uint8_t>& image, uint16_t channels, uint32_t rate,
                    uint32_t samplesPerChannel, uint32_t chunkBytes);

// The chunks that name the frame size for wavetable synthesizers: "clm "
// holding the text "<!>SIZE 10000000 wavetable (QARNO)", or "srge" holding
// version 1 and the size.
enum class FrameTag { None, Clm, Srge };
void PutFrameTag(std::vector<uint8_t>& image, FrameTag tag, int32_t frameSize);
// The bytes PutFrameTag adds, chunk header included.
uint32_t FrameTagBytes(FrameTag tag, int32_t frameSize);

// A sample on a scale of `full` steps: rounded to nearest and clamped to the
// signed range of that many steps (-full - 1 .. full); NaN gives 0.
int32_t FullScaleInteger(float value, int32_t full);

// A table of `count` samples (frames of `frameSize`) as mono 44100 Hz WAV:
// 16 or 24-bit PCM (x 32767 or x 8388607) or, for `bits` 32, IEEE float as the
// values are (with the float header); the frame tag before "data".
std::vector<uint8_t> BuildTableWavImage(const float* samples, int32_t count, int32_t bits,
                                        FrameTag tag, int32_t frameSize);

// The complete file image. loopStart and loopEnd are the indices of the loop's
// first and last samples, as samplers read the "smpl" chunk.
std::vector<uint8_t> BuildWavImage(const float* samples, int32_t count, int32_t sampleRate,
                                   WavPurpose purpose, int32_t loopStart, int32_t loopEnd);

// The export image of `count` samples (whole 2048-sample frames): mono 32-bit
// IEEE float at 44100 Hz, each sample x 1.52 (the fraction of full scale of the
// 16-bit saves), unclipped; the float header, "clm ", then "data".
std::vector<uint8_t> BuildExportImage(const float* samples, int32_t count);

// A whole table as 32-bit IEEE float mono at 44100 Hz, every sample exactly as
// in memory: an 18-byte "fmt ", "fact" with the sample count, "srge" naming the
// 1024-sample frame size, and "data" (as a project file begins).
std::vector<uint8_t> BuildFloatTableImage(const float* table);

// A rendered sound: `frames` interleaved left-right pairs as 32-bit IEEE float
// stereo at `sampleRate`: the float header and "data" (under 4 GB of samples).
std::vector<uint8_t> BuildStereoFloatImage(const float* interleaved, int64_t frames,
                                           int32_t sampleRate);
