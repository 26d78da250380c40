#include <gtest/gtest.h>

#include <cmath>

#include "io/wav_format.h"
#include "tests/file_helpers.h"

TEST(WavImage, HeaderLoopAndFrameSizeChunksFieldByField) {
    const std::vector<float> silence(1024, 0.0f);
    const std::vector<uint8_t> b = BuildWavImage(silence.data(), 1024, 44100, WavPurpose::SavedFrames, 0, 1023);
    ASSERT_EQ(b.size(), 2176u);
    auto tag = [&](size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); };
    EXPECT_EQ(tag(0) + tag(8) + tag(12) + tag(36) + tag(2092) + tag(2160), "RIFFWAVEfmt datasmplsrge");
    // RIFF size; fmt size, PCM and mono, rate, byte rate, block align and bits; data size; then the
    // smpl chunk: size, maker, product, period, unity note, pitch, SMPTE x 2, one loop with id,
    // type, first and last sample, fraction, play count.
    const uint32_t fields[][2] = {{4, 2168},   {16, 16},           {20, 1 | 1 << 16}, {24, 44100},
                                  {28, 88200}, {32, 2 | 16 << 16}, {40, 2048},       {2164, 8},
                                  {2168, 1},   {2172, 1024}};
    for (const auto& f : fields) EXPECT_EQ(U32At(b, f[0]), f[1]) << "at " << f[0];
    const uint32_t smpl[] = {60, 0, 0, 22675, 60, 0, 0, 0, 1, 0, 0, 0, 0, 1023, 0, 0};
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(U32At(b, 2096 + 4 * i), smpl[i]) << "smpl field " << i;
}

TEST(WavImage, SamplesTruncateInsideTheRangeAndSaturateOutside) {
    const float in[] = {0.5f, -0.5f, 0.35f, 1.0f, -1.0f, 0.657f, 0.6583f, 1e20f, -HUGE_VALF, NAN, 0.25f};
    const int16_t saved[] = {24903, -24903, 17432, 32767, -32768, 32723, 32767, 32767, -32768, 0, 12451};
    const int16_t preview[] = {32767, -32768, 22937, 32767, -32768, 32767, 32767, 32767, -32768, 0, 16384};
    const std::vector<uint8_t> s = BuildWavImage(in, 11, 44100, WavPurpose::SavedPad, 0, 0);
    const std::vector<uint8_t> p = BuildWavImage(in, 11, 176400, WavPurpose::Preview, 0, 0);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(S16At(s, 44 + 2 * i), saved[i]) << in[i];
        EXPECT_EQ(S16At(p, 44 + 2 * i), preview[i]) << in[i];
    }
}
