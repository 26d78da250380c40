#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

#ifdef QARNO_HAVE_SNDFILE
#include <sndfile.h>
#endif

#include "tests/file_helpers.h"

namespace {

const float k = 0.00002f;  // the decoded value of one 16-bit unit

// A WAV file as other programs write them (the RIFF size left out): an odd-sized chunk before
// "fmt ", and a "smpl" chunk after "data" whose bytes are no samples; `cut` bytes short at the end.
std::vector<uint8_t> Wav(int code, int ch, int bits, const std::vector<uint8_t>& data, size_t cut = 0) {
    std::vector<uint8_t> f = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T',
                              3,   0,   0,   0,   1, 2, 3, 0, 'f', 'm', 't', ' ', 16,  0,   0,   0};
    for (int v : {code | ch << 16, 44100, 44100 * ch * bits / 8, ch * bits / 8 | bits << 16})
        PutU32(f, static_cast<uint32_t>(v));
    PutTag(f, "data");
    PutU32(f, static_cast<uint32_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
    f.insert(f.end(), {'s', 'm', 'p', 'l', 60, 0, 0, 0});
    f.resize(f.size() + 60 - cut, 0xEE);
    return f;
}

}  // namespace

// Each save command's file, compared with the image of its samples and loop, and read by sox
// and libsndfile, programs nobody here wrote; then frame 3 is loaded back.
TEST(WavCommands, SavedFilesHoldTheirSamplesAndLoopsAndLoadBack) {
    FreshEditor();
    ScratchFolder folder;
    const std::string path = folder.File("saved.wav"), out = folder.File("out");
    for (int i = 0; i < TableSamples; ++i) Wavetable[i] = static_cast<float>(i % 2001 - 1000) * 0.0006f;
    for (int i = 0; i < PadwaveSamples; ++i) PadwaveBuffer[i] = static_cast<float>(i % 777) * 0.0008f - 0.3f;
    FrameAt(3)[0] = 0.5f;
    const struct {
        int32_t view, frame, offset, command, count, loopStart, loopEnd;
        const float* source;
        size_t size;
    } saves[] = {{ViewWavetable, 7, 7, CmdSaveWavetable, 102400, 7168, 8191, Wavetable, 204928},
                 {ViewWavetable, 90, 10, CmdSaveWavetable, 102400, 10240, 93183, Wavetable, 204928},
                 {ViewPadwave, 0, 0, CmdSavePadwave, 131072, 0, 131071, PadwaveBuffer, 262256},
                 {ViewWaveform, 3, 0, CmdSaveWaveform, 1024, 0, 1023, FrameAt(3), 2176}};
    for (const auto& s : saves) {
        ViewMode = s.view;
        CurrentFrame = s.frame;
        OffsetFrame = s.offset;
        CommandOn(static_cast<uint16_t>(s.command), path);
        const std::vector<uint8_t> b = ReadBytes(path);
        EXPECT_EQ(b.size(), s.size);
        ASSERT_EQ(std::system(("for o in r c b s; do sox --i -$o " + path + "; done >" + out).c_str()), 0);
        const std::vector<uint8_t> info = ReadBytes(out);
        EXPECT_EQ(std::string(info.begin(), info.end()), "44100\n1\n16\n" + std::to_string(s.count) + "\n");
#ifdef QARNO_HAVE_SNDFILE
        SF_INFO format = {};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &format);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        SF_INSTRUMENT instrument = {};
        EXPECT_EQ(sf_command(file, SFC_GET_INSTRUMENT, &instrument, sizeof instrument), SF_TRUE);
        std::vector<short> stored(static_cast<size_t>(s.count));
        EXPECT_EQ(sf_read_short(file, stored.data(), s.count), s.count);
        sf_close(file);
        for (int32_t i = 0; i < s.count; ++i) {
            const float scaled = s.source[i] * 65536.0f * 0.76f;
            ASSERT_EQ(stored[i], static_cast<short>(scaled)) << i;
        }
        EXPECT_EQ(instrument.loops[0].start, static_cast<unsigned>(s.loopStart));
        EXPECT_EQ(instrument.loops[0].end, static_cast<unsigned>(s.loopEnd + 1));  // one past the last
#endif
    }
    // Frame 3 loaded into frame 9 comes back at 0.996 of its level; frame 10 stays; Undo.
    CurrentFrame = 9;
    const std::vector<float> before(FrameAt(9), FrameAt(11));
    CommandOn(CmdLoadWaveform, path);
    EXPECT_NEAR(FrameAt(9)[0], 0.49806f, 1e-6f);
    for (int n : {1, 100, 400, 700, 1023}) EXPECT_NEAR(FrameAt(9)[n] / FrameAt(3)[n], 0.996f, 0.001f) << n;
    EXPECT_EQ(FrameAt(10)[0], before[1024]);
    Command(CmdUndo);
    EXPECT_EQ(std::vector<float>(FrameAt(9), FrameAt(11)), before);
    // Loaded as a table, a frame file fills frame 0 and silences the rest. A cancelled load
    // replaces the undo snapshot all the same.
    ViewMode = ViewWavetable;
    FillTableWithIndices();
    CommandOn(CmdLoadWavetable, path);
    EXPECT_NEAR(Wavetable[0], 0.49806f, 1e-6f);
    EXPECT_TRUE(std::all_of(Wavetable + 1024, Wavetable + TableSamples, [](float s) { return s == 0.0f; }));
    Command(CmdLoadWavetable);
    Wavetable[2049] = -1.0f;
    Command(CmdUndo);
    EXPECT_EQ(Wavetable[2049], 0.0f);
}

TEST(WavCommands, LoadsWhatOtherProgramsWriteAndTellsWhatItCannot) {
    FreshEditor();
    ScratchFolder folder;
    // In 16-bit units: 16-bit, cut short, 24-bit stereo (the left channel, finer steps kept), float.
    const std::pair<std::vector<uint8_t>, std::vector<float>> cases[] = {
        {Wav(1, 1, 16, {0x47, 0x61, 0xFF, 0x7F, 0x00, 0x80}), {24903, 32767, -32768}},
        {Wav(1, 1, 16, {0x47, 0x61, 0xFF, 0x7F, 0x00, 0x80}, 69), {24903, 32767, 0}},
        {Wav(1, 2, 24, {0x80, 0x47, 0x61, 9, 9, 9, 0, 0, 0x80, 9, 9, 9}), {24903.5f, -32768, 0}},
        {Wav(3, 1, 32, {0, 0, 0, 0x3F, 0, 0, 0x80, 0xBF, 0, 0x8E, 0x42, 0x3F}), {16384, -32768, 24903}},
    };
    for (const auto& [file, units] : cases) {
        FillFrame(0, 0.9f);
        WriteBytes(folder.File("in.wav"), file);
        CommandOn(CmdLoadWaveform, folder.File("in.wav"));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(FrameAt(0)[i], units[i] * k) << units[i];
        EXPECT_TRUE(std::all_of(FrameAt(0) + 3, FrameAt(1), [](float s) { return s == 0.0f; }));
    }
    WriteBytes(folder.File("text.wav"), std::vector<uint8_t>(60, 'x'));
    const std::string names[] = {folder.File("text.wav"), folder.File("missing.wav"), folder.path.string()};
    for (const std::string& name : names) CommandOn(CmdLoadWaveform, name);
    EXPECT_EQ(FrameAt(0)[2], 24903 * k);
    EXPECT_EQ(ErrorTexts(),
              (std::vector<std::string>{"not a WAV file\n" + names[0], "can not open file\n" + names[1],
                                        "can not open file\n" + names[2]}));
}

TEST(WavCommands, SavesReplaceTheOldFileWholeOrNotAtAll) {
    FreshEditor();
    ScratchFolder folder;
    const std::string target = folder.File("keep.wav");
    WriteBytes(target, {'o', 'l', 'd'});
    CommandOn(CmdSaveWaveform, folder.path.string());
    CommandOn(CmdSaveWaveform, "/dev/full");
    // A file size limit stops every user, root included, in the middle of the write.
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small = {1024, saved.rlim_max};
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    CommandOn(CmdSaveWaveform, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"can not open file\n" + folder.path.string(),
                                                      "write error\n/dev/full", "write error\n" + target}));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.wav"});
}
