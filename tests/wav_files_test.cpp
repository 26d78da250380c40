#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "io/wav_format.h"
#include "tests/file_helpers.h"

static const float Unit = 0.00002f; // the loaded value of one 16-bit step

// libsndfile reads each save's samples (x 65536 x 0.76, truncated), unity note and loop; Surge
// XT's rule finds frames of 1024 in frames and tables. The frame loads back into the current frame
// or as a table, and Undo takes it back, even after a cancelled load.
TEST(SaveCommands, OutsideReadersSeeTheSamplesAndTheLoopAndItLoadsBack) {
    FreshEditor();
    ScratchFolder folder;
    const std::string path = folder.File("saved.wav");
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = static_cast<float>(i % 2001 - 1000) * 0.0006f;
    for (int i = 0; i < PadwaveSamples; ++i)
        PadwaveBuffer[i] = static_cast<float>(i % 777) * 0.0008f - 0.3f;
    struct Save {
        int32_t view, wave, offset;
        CommandId command;
        int count, loopStart, loopEnd;
        const float* source;
        size_t size;
    };
    const Save saves[] = {
        {ViewWavetable, 7, 7, CmdSaveWavetable, 102400, 7168, 8191, Wavetable, 204928},
        {ViewWavetable, 90, 10, CmdSaveWavetable, 102400, 10240, 93183, Wavetable, 204928},
        {ViewPadwave, 0, 0, CmdSavePadwave, 131072, 0, 131071, PadwaveBuffer, 262256},
        {ViewWaveform, 3, 0, CmdSaveWaveform, 1024, 0, 1023, FrameAt(3), 2176},
    };
    for (const Save& s : saves) {
        ViewMode = s.view;
        CurrentFrame = s.wave;
        OffsetFrame = s.offset;
        CommandOn(s.command, path);
        EXPECT_EQ(ReadBytes(path).size(), s.size);
        const int frameSize = s.command == CmdSavePadwave ? 0 : 1024; // a pad is no table
        EXPECT_EQ(SurgeFrameSize(ReadBytes(path)), frameSize) << s.wave;
        const SndfileView read = ReadWithSndfile(path);
        ASSERT_EQ(read.samples.size(), static_cast<size_t>(s.count));
        EXPECT_EQ(read.instrument.basenote, 60);
        EXPECT_EQ(read.instrument.loops[0].start, static_cast<unsigned>(s.loopStart));
        EXPECT_EQ(read.instrument.loops[0].end, static_cast<unsigned>(s.loopEnd + 1));
        for (int i = 0; i < s.count; ++i) {
            const float scaled = s.source[i] * 65536.0f * 0.76f;
            ASSERT_EQ(read.samples[i] * 32768.0f, static_cast<short>(scaled)) << i;
        }
    }
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
    FillTableWithIndices();
    CurrentFrame = 9;
    CommandOn(CmdLoadWaveform, path);
    EXPECT_TRUE(TableHoldsIndicesOutside(9, 9));
    const float loaded = FrameAt(9)[100];
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(0, -1));
    ViewMode = ViewWavetable;
    CommandOn(CmdLoadWavetable, path);
    EXPECT_EQ(FrameAt(0)[100], loaded);
    EXPECT_TRUE(AllZero(FrameAt(1), FrameAt(FrameCount)));
    Command(CmdLoadWavetable);
    Command(CmdUndo);
    EXPECT_TRUE(AllZero(FrameAt(1), FrameAt(FrameCount)));
}

// Around the samples of a saved table: the 16-bit mono header, a "smpl" chunk with unity note 60
// and its one loop (here 2..9), and the "srge" tag of 1024-sample frames.
TEST(SaveCommands, SamplesTruncateInsideTheRangeAndSaturateOutside) {
    const float in[] = {0.5f, -0.5f, 0.35f, 1.0f, -1.0f, 0.657f, 1e20f, -HUGE_VALF, NAN, 0.25f};
    const int16_t saved[] = {24903, -24903, 17432, 32767, -32768, 32723, 32767, -32768, 0, 12451};
    const int16_t preview[] = {32767, -32768, 22937, 32767, -32768, 32767, 32767, -32768, 0, 16384};
    const std::vector<uint8_t> s = BuildWavImage(in, 10, 44100, WavPurpose::SavedFrames, 2, 9);
    EXPECT_EQ(std::string(s.begin(), s.begin() + 44),
              std::string("RIFF\x8c\0\0\0WAVEfmt \x10\0\0\0\x1\0\x1\0D\xac\0\0\x88X\x1\0\x2\0\x10\0"
                          "data\x14\0\0\0",
                          44));
    EXPECT_EQ(std::string(s.begin() + 64, s.end()),
              std::string(
                  "smpl<\0\0\0\0\0\0\0\0\0\0\0\x93X\0\0<\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x1\0\0\0"
                  "\0\0\0\0\0\0\0\0\0\0\0\0\x2\0\0\0\x9\0\0\0\0\0\0\0\0\0\0\0srge\x8\0\0\0\x1\0\0\0"
                  "\0\x4\0\0",
                  84));
    const std::vector<uint8_t> p = BuildWavImage(in, 10, 176400, WavPurpose::Preview, 0, 0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(S16At(s, 44 + 2 * i), saved[i]) << in[i];
        EXPECT_EQ(S16At(p, 44 + 2 * i), preview[i]) << in[i];
    }
}

// Every encoding reads its first channel on the scale of 16-bit files (full scale loads as
// -0.65536), its data chunk after an odd-sized chunk.
TEST(LoadCommands, EveryEncodingReadsTheFirstChannelOnOneScale) {
    FreshEditor();
    ScratchFolder folder;
    std::vector<uint8_t> doubles; // the last beyond float
    for (uint64_t bits : {0x3FE0000000000000u, 0xBFF0000000000000u, 0x7E37E43C8800759Cu})
        for (int b = 0; b < 8; ++b) doubles.push_back(static_cast<uint8_t>(bits >> 8 * b));
    struct Case {
        std::vector<uint8_t> fmt, data;
        float units[3]; // the three samples in 16-bit steps
    };
    const Case cases[] = {
        {Fmt(1, 1, 8), {0xC0, 0x00, 0x81}, {16384, -32768, 256}},
        {Fmt(1, 1, 16), {0x47, 0x61, 0xFF, 0x7F, 0x00, 0x80}, {24903, 32767, -32768}},
        {Fmt(1, 2, 24),
         {0x80, 0x47, 0x61, 9, 9, 9, 0, 0, 0x80, 9, 9, 9, 1, 0, 0, 9, 9, 9},
         {24903.5f, -32768, 1.0f / 256}},
        {Fmt(1, 1, 32), {0, 0, 0x47, 0x61, 0, 0, 0, 0x80, 0, 0x80, 0, 0}, {24903, -32768, 0.5f}},
        {Fmt(3, 1, 64), doubles, {16384, -32768, 0}},
        {ExtensibleFmt(3, 32), FloatData({0.5f, -1, 0.76f}), {16384, -32768, 0.76f * 32768.0f}},
    };
    const std::vector<uint8_t> odd = Chunk("LIST", {1, 2, 3});
    for (const Case& c : cases) {
        FillFrame(0, 0.9f);
        WriteBytes(folder.File("in.wav"), WavFile(c.fmt, odd, c.data));
        CommandOn(CmdLoadWaveform, folder.File("in.wav"));
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(FrameAt(0)[i], c.units[i] * Unit) << &c - cases << " " << i;
        EXPECT_TRUE(AllZero(FrameAt(0) + 3, FrameAt(1))) << &c - cases;
    }
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

// A save replaces the file whole or not at all, keeps its mode and writes through a link.
TEST(SaveCommands, ReplaceTheFileWholeOrNotAtAll) {
    FreshEditor();
    ScratchFolder folder;
    const std::string target = folder.File("keep.wav");
    WriteBytes(target, {'o', 'l', 'd'});
    CommandOn(CmdSaveWaveform, folder.path.string());
    CommandOn(CmdSaveWaveform, "/dev/full");
    rlimit saved; // a size limit stops every user, root included, in the middle of the write
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small = {1024, saved.rlim_max};
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    CommandOn(CmdSaveWaveform, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{
                                "can not open file\n" + folder.path.string() + "\nIs a directory",
                                "write error\n/dev/full\nNo space left on device",
                                "write error\n" + target + "\nFile too large"}));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));

    chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, folder.File("link.wav"));
    CommandOn(CmdSaveWaveform, folder.File("link.wav"));
    EXPECT_EQ(ReadBytes(target).size(), 2176u);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.wav")));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2);
}
