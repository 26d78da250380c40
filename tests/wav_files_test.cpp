#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/command_ids.h"
#include "io/byte_order.h"
#include "tests/file_helpers.h"
#include "tests/test_support.h"

namespace {

std::vector<uint8_t> SaveAs(uint16_t command, const std::string& path) {
    CommandOn(command, path);
    return ReadBytes(path);
}

uint32_t LoopStart(const std::vector<uint8_t>& b) { return U32At(b, b.size() - 16); }
uint32_t LoopEnd(const std::vector<uint8_t>& b) { return U32At(b, b.size() - 12); }

// A WAV file assembled chunk by chunk, for layouts the editor never writes.
struct WavBuilder {
    std::vector<uint8_t> body;
    void Chunk(const char* tag, const std::vector<uint8_t>& content) {
        PutTag(body, tag);
        PutU32(body, static_cast<uint32_t>(content.size()));
        body.insert(body.end(), content.begin(), content.end());
        if (content.size() % 2) body.push_back(0);
    }
    void Format(uint16_t code, uint16_t channels, uint16_t bits) {
        std::vector<uint8_t> f;
        PutU16(f, code);
        PutU16(f, channels);
        PutU32(f, 44100);
        PutU32(f, 44100u * channels * bits / 8);
        PutU16(f, static_cast<uint16_t>(channels * bits / 8));
        PutU16(f, bits);
        Chunk("fmt ", f);
    }
    std::vector<uint8_t> File() const {
        std::vector<uint8_t> file;
        PutTag(file, "RIFF");
        PutU32(file, static_cast<uint32_t>(body.size() + 4));
        PutTag(file, "WAVE");
        file.insert(file.end(), body.begin(), body.end());
        return file;
    }
};

std::vector<uint8_t> Pcm16(std::initializer_list<int16_t> values) {
    std::vector<uint8_t> out;
    for (int16_t v : values) PutU16(out, static_cast<uint16_t>(v));
    return out;
}

}  // namespace

TEST(WavCommands, SavedFilesHaveTheirSizesLoopsAndDialogs) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWaveform;
    CurrentFrame = 3;
    FrameAt(3)[0] = 0.5f;
    FrameAt(3)[1] = -0.5f;
    FrameAt(3)[1023] = 1.0f;
    FrameAt(2)[1023] = 0.25f;  // the neighbour frames stay out
    HeadlessInvalidations = 0;
    std::vector<uint8_t> b = SaveAs(CmdSaveWaveform, folder.File("frame.wav"));
    ASSERT_EQ(b.size(), 2160u);
    EXPECT_EQ(U32At(b, 4), 2152u);
    EXPECT_EQ(U32At(b, 40), 2048u);
    EXPECT_EQ(S16At(b, 44), 24903);
    EXPECT_EQ(S16At(b, 46), -24903);
    EXPECT_EQ(S16At(b, 44 + 2 * 1023), 32767);
    EXPECT_EQ(LoopStart(b), 0u);
    EXPECT_EQ(LoopEnd(b), 1023u);
    EXPECT_EQ(HeadlessInvalidations, 0);
    ASSERT_EQ(HeadlessDialogsShown.size(), 1u);
    EXPECT_TRUE(HeadlessDialogsShown[0].save);
    EXPECT_EQ(HeadlessDialogsShown[0].filterText, "Wavefile (*.wav)");
    EXPECT_EQ(HeadlessDialogsShown[0].pattern, "*.wav");
    EXPECT_EQ(HeadlessDialogsShown[0].extension, "wav");

    ViewMode = ViewWavetable;
    CurrentFrame = OffsetFrame = 7;
    b = SaveAs(CmdSaveWavetable, folder.File("t7.wav"));
    ASSERT_EQ(b.size(), 204912u);
    EXPECT_EQ(U32At(b, 4), 204904u);
    EXPECT_EQ(U32At(b, 40), 204800u);
    EXPECT_EQ(S16At(b, 44 + 2 * 3072), 24903);  // the whole table, frame 3 included
    EXPECT_EQ(LoopStart(b), 7168u);
    EXPECT_EQ(LoopEnd(b), 8191u);
    CurrentFrame = 90;
    OffsetFrame = 10;
    b = SaveAs(CmdSaveWavetable, folder.File("t90.wav"));
    EXPECT_EQ(LoopStart(b), 10240u);
    EXPECT_EQ(LoopEnd(b), 93183u);

    ViewMode = ViewPadwave;
    PadwaveBuffer[131071] = -0.35f;
    b = SaveAs(CmdSavePadwave, folder.File("pad.wav"));
    ASSERT_EQ(b.size(), 262256u);
    EXPECT_EQ(U32At(b, 24), 44100u);
    EXPECT_EQ(S16At(b, 44 + 2 * 131071), -17432);
    EXPECT_EQ(LoopStart(b), 0u);
    EXPECT_EQ(LoopEnd(b), 131071u);

    // A cancelled dialog writes nothing; a save in a view that does not offer it
    // asks for nothing.
    const size_t shown = HeadlessDialogsShown.size();
    Command(CmdSavePadwave);
    Command(CmdSaveWaveform);
    EXPECT_EQ(HeadlessDialogsShown.size(), shown + 1);
    EXPECT_EQ(folder.Names().size(), 4u);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

TEST(WavCommands, RoundTripComesBackAtTheDecodedLevelAndUndoes) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWaveform;
    CurrentFrame = 4;
    for (int n = 0; n < SamplesPerFrame; ++n) FrameAt(4)[n] = 0.6f * static_cast<float>(n - 512) / 512.0f;
    const std::vector<float> saved(FrameAt(4), FrameAt(4) + SamplesPerFrame);
    SaveAs(CmdSaveWaveform, folder.File("f.wav"));

    CurrentFrame = 9;
    FillFrame(9, 0.125f);
    FillFrame(10, 0.75f);
    HeadlessInvalidations = 0;
    CommandOn(CmdLoadWaveform, folder.File("f.wav"));
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const float scaled = saved[n] * 65536.0f * 0.76f;
        ASSERT_EQ(FrameAt(9)[n], static_cast<float>(static_cast<int32_t>(scaled)) * 0.00002f) << n;
        if (std::fabs(saved[n]) > 0.1f) {
            ASSERT_NEAR(FrameAt(9)[n] / saved[n], 0.996f, 0.001f) << n;
        }
    }
    EXPECT_EQ(FrameAt(10)[0], 0.75f);
    EXPECT_EQ(HeadlessInvalidations, 1);
    EXPECT_EQ(HeadlessDialogsShown.back().filterText, "Wavefile(*.wav)");
    EXPECT_FALSE(HeadlessDialogsShown.back().save);
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(9)[0], 0.125f);

    // A frame file loaded as a table fills frame 0; its loop chunk is not
    // sample data, and the rest of the table is silence.
    ViewMode = ViewWavetable;
    FillTableWithIndices();
    CommandOn(CmdLoadWavetable, folder.File("f.wav"));
    EXPECT_EQ(Wavetable[5], static_cast<float>(static_cast<int32_t>(saved[5] * 65536.0f * 0.76f)) * 0.00002f);
    EXPECT_TRUE(std::all_of(Wavetable + 1024, Wavetable + TableSamples, [](float s) { return s == 0.0f; }));

    // A cancelled load still replaces the undo snapshot.
    FillTableWithIndices();
    Command(CmdLoadWavetable);
    Wavetable[0] = -1.0f;
    Command(CmdUndo);
    EXPECT_EQ(Wavetable[0], 0.0f);
    EXPECT_EQ(Wavetable[2049], 2001.0f);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

TEST(WavCommands, LoadsWhatOtherProgramsWrite) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWaveform;
    CurrentFrame = 0;
    auto loadFile = [&](const std::vector<uint8_t>& bytes) {
        FillFrame(0, 0.9f);
        WriteBytes(folder.File("in.wav"), bytes);
        CommandOn(CmdLoadWaveform, folder.File("in.wav"));
    };

    // Chunks before "fmt " and "data", one of odd size, and a chunk after.
    WavBuilder odd;
    odd.Chunk("LIST", {1, 2, 3});
    odd.Format(1, 1, 16);
    odd.Chunk("fact", {0, 0, 0, 0});
    odd.Chunk("data", Pcm16({24903, 32767, -32768}));
    odd.Chunk("smpl", std::vector<uint8_t>(60, 0xEE));
    loadFile(odd.File());
    EXPECT_EQ(FrameAt(0)[0], 24903 * 0.00002f);
    EXPECT_NEAR(FrameAt(0)[0], 0.49806f, 1e-6);
    EXPECT_EQ(FrameAt(0)[1], 32767 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[2], -32768 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[3], 0.0f);  // the smpl chunk is not read as samples
    EXPECT_EQ(FrameAt(0)[1023], 0.0f);

    // 24-bit stereo: the left channel, with the precision below 16 bits kept.
    WavBuilder wide;
    wide.Format(1, 2, 24);
    wide.Chunk("data", {0x00, 0x47, 0x61, 0x11, 0x11, 0x11,    // 24903 x 256, right ignored
                        0x80, 0x00, 0x00, 0x22, 0x22, 0x22,    // 128 / 256 of a 16-bit step
                        0x00, 0x00, 0x80, 0x33, 0x33, 0x33});  // -32768 x 256
    loadFile(wide.File());
    EXPECT_EQ(FrameAt(0)[0], 24903 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[1], 0.5f * 0.00002f);
    EXPECT_EQ(FrameAt(0)[2], -32768 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[3], 0.0f);

    // 32-bit float, 8-bit and 32-bit PCM on the same scale.
    WavBuilder real;
    real.Format(3, 1, 32);
    std::vector<uint8_t> floats;
    for (float f : {0.5f, -1.0f, 24903.0f / 32768.0f}) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        PutU32(floats, bits);
    }
    real.Chunk("data", floats);
    loadFile(real.File());
    EXPECT_EQ(FrameAt(0)[0], 16384 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[1], -32768 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[2], 24903 * 0.00002f);
    WavBuilder narrow;
    narrow.Format(1, 1, 8);
    narrow.Chunk("data", {0x80, 0xFF, 0x00});
    loadFile(narrow.File());
    EXPECT_EQ(FrameAt(0)[0], 0.0f);
    EXPECT_EQ(FrameAt(0)[1], 127 * 256 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[2], -32768 * 0.00002f);
    WavBuilder pcm32;
    pcm32.Format(1, 1, 32);
    pcm32.Chunk("data", {0x00, 0x00, 0x47, 0x61});
    loadFile(pcm32.File());
    EXPECT_EQ(FrameAt(0)[0], 24903 * 0.00002f);

    // Either tag suffices; without a "data" chunk the samples start at byte 44.
    std::vector<uint8_t> riffOnly(44, 0);
    std::memcpy(riffOnly.data(), "RIFF", 4);
    const std::vector<uint8_t> tail = Pcm16({1000, -1000, 7});
    riffOnly.insert(riffOnly.end(), tail.begin(), tail.end());
    riffOnly.push_back(0x12);  // half a sample: not read
    loadFile(riffOnly);
    EXPECT_EQ(FrameAt(0)[0], 1000 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[2], 7 * 0.00002f);
    EXPECT_EQ(FrameAt(0)[3], 0.0f);
    std::vector<uint8_t> waveOnly = riffOnly;
    std::memcpy(waveOnly.data(), "JUNK", 4);
    std::memcpy(waveOnly.data() + 8, "WAVE", 4);
    loadFile(waveOnly);
    EXPECT_EQ(FrameAt(0)[1], -1000 * 0.00002f);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

TEST(WavCommands, UnreadableFilesAreToldAndKeepTheTable) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWaveform;
    CurrentFrame = 2;
    FillFrame(2, 0.3f);
    WriteBytes(folder.File("text.wav"), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'});
    CommandOn(CmdLoadWaveform, folder.File("text.wav"));
    CommandOn(CmdLoadWaveform, folder.File("missing.wav"));
    CommandOn(CmdLoadWaveform, folder.path.string());
    EXPECT_EQ(FrameAt(2)[0], 0.3f);
    EXPECT_EQ(FrameAt(2)[1023], 0.3f);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 3u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "not a WAV file\n" + folder.File("text.wav"));
    EXPECT_EQ(HeadlessMessageBoxes[1].text, "can not open file\n" + folder.File("missing.wav"));
    EXPECT_EQ(HeadlessMessageBoxes[2].text, "can not open file\n" + folder.path.string());
    for (const RecordedMessageBox& box : HeadlessMessageBoxes) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.owner, HeadlessWindow());
    }
    FillFrame(2, 0.0f);
    Command(CmdUndo);  // the snapshot was taken all the same
    EXPECT_EQ(FrameAt(2)[0], 0.3f);
}

TEST(WavCommands, FailedSavesKeepTheOldFileAndTellTheUser) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWaveform;
    const std::string target = folder.File("keep.wav");
    const std::vector<uint8_t> old = {'o', 'l', 'd', '!'};
    WriteBytes(target, old);

    testing::internal::CaptureStdout();
    CommandOn(CmdSaveWaveform, folder.path.string());
    CommandOn(CmdSaveWaveform, "/dev/full");
    CommandOn(CmdSaveWaveform, folder.File("no/such/folder.wav"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "can not open filewrite errorcan not open file");
    ASSERT_EQ(HeadlessMessageBoxes.size(), 3u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "can not open file\n" + folder.path.string());
    EXPECT_EQ(HeadlessMessageBoxes[1].text, "write error\n/dev/full");
    EXPECT_EQ(HeadlessMessageBoxes[1].caption, "Error");
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.wav"});
}
