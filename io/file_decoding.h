// Turning the bytes of loaded files into samples and harmonic levels. Pure
// functions of the bytes, so any input, however broken, is safe to hand them.
#pragma once

#include <cstddef>
#include <cstdint>

enum class SampleEncoding { Unsigned8, Signed16, Signed24, Signed32, Float32, Float64 };

// What a WAV file holds: where the first channel's samples lie, how they are
// encoded, and the frame size the file declares for wavetable synthesizers.
struct WavContent {
    uint64_t begin = 44; // byte of the first sample
    uint64_t stride = 2; // bytes from one sample frame to the next
    SampleEncoding encoding = SampleEncoding::Signed16;
    uint64_t count = 0;    // samples of the first channel the bytes hold
    bool complete = false; // the "data" chunk holds every byte it declares
    int32_t frameSize = 0; // from a "clm " or "srge" chunk; 0 when none is declared
    bool uhwt = false;     // a "uhWT" chunk marks a table of 2048-sample frames
};

enum class WavStatus {
    Ok,
    NotWav,              // neither "RIFF" at byte 0 nor "WAVE" at byte 8
    UnsupportedEncoding, // compressed or otherwise not integer PCM or IEEE float
    NoSamples,           // no sample to give: no data, or a cut-off or absurd "fmt " chunk
};

// The largest frame size a file may declare; larger ones are not taken as frames.
constexpr int32_t MaxDeclaredFrameSize = 65536;

// Accepts the bytes as a WAV file when they begin with "RIFF" or carry "WAVE" at
// byte 8, walks its chunks and describes its samples. A file without a "data"
// chunk has its samples at byte 44; one without a "fmt " chunk is 16-bit mono.
WavStatus ParseWav(const uint8_t* data, size_t size, WavContent& content);

// What a status other than Ok tells the user: "not a WAV file", ...
const char* WavFailure(WavStatus status);

// Sample `index` (below content.count) on the scale of 16-bit files: value x
// 0.00002. Infinities and NaN of float files read as 0.
float WavSample(const uint8_t* data, const WavContent& content, uint64_t index);

// Sample `index` (below content.count) as a fraction of full scale, the
// inverse of what the table exports write: floats as they are, integers
// divided by their largest value (32767 for 16 bits). Infinities and NaN read as 0.
float FullScaleSample(const uint8_t* data, const WavContent& content, uint64_t index);

// Reads the 32 little-endian levels; levels without 4 bytes keep their value.
void DecodeHarmonics(const uint8_t* data, size_t size, int32_t* levels);
