#include <gtest/gtest.h>

#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/wav_format.h"
#include "tests/file_helpers.h"

TEST(WavImage, HeaderAndLoopChunkFieldByField) {
    std::vector<float> samples(2048, 0.0f);
    const std::vector<uint8_t> b = BuildWavImage(samples.data(), 1024, 44100, WavPurpose::Saved, 0, 1023);
    ASSERT_EQ(b.size(), 2160u);
    EXPECT_EQ(TagAt(b, 0), "RIFF");
    EXPECT_EQ(U32At(b, 4), 2152u);
    EXPECT_EQ(TagAt(b, 8), "WAVE");
    EXPECT_EQ(TagAt(b, 12), "fmt ");
    EXPECT_EQ(U32At(b, 16), 16u);
    EXPECT_EQ(U32At(b, 20), 1u | 1u << 16);  // PCM, mono
    EXPECT_EQ(U32At(b, 24), 44100u);
    EXPECT_EQ(U32At(b, 28), 88200u);
    EXPECT_EQ(U32At(b, 32), 2u | 16u << 16);  // block align, bits
    EXPECT_EQ(TagAt(b, 36), "data");
    EXPECT_EQ(U32At(b, 40), 2048u);
    const size_t smpl = 44 + 2048;
    EXPECT_EQ(TagAt(b, smpl), "smpl");
    const uint32_t expected[] = {60, 0, 0, 22675, 60, 0, 0, 0, 1, 0, 0, 0, 0, 1023, 0, 0};
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(U32At(b, smpl + 4 + 4 * i), expected[i]) << "field " << i;

    const std::vector<uint8_t> preview =
        BuildWavImage(samples.data(), 2048, 22050, WavPurpose::Preview, 0, 2047);
    ASSERT_EQ(preview.size(), 2u * 2048 + 112);
    EXPECT_EQ(U32At(preview, 24), 22050u);
    EXPECT_EQ(U32At(preview, 28), 44100u);
    EXPECT_EQ(U32At(preview, 44 + 4096 + 56), 2047u);
}

TEST(WavImage, SamplesTruncateInsideTheRangeAndSaturateOutside) {
    const float inf = std::numeric_limits<float>::infinity();
    const float in[] = {0.5f, -0.5f, 0.35f, 1.0f, -1.0f, 0.657f, 0.6583f, 1e20f, -inf, std::numeric_limits<float>::quiet_NaN(),
                        0.25f, 0.4999f};
    const int count = sizeof in / sizeof in[0];
    const std::vector<uint8_t> saved = BuildWavImage(in, count, 44100, WavPurpose::Saved, 0, 0);
    const int16_t savedExpected[] = {24903, -24903, 17432, 32767, -32768, 32723, 32767, 32767,
                                     -32768, 0, 12451, 24898};
    for (int i = 0; i < count; ++i) EXPECT_EQ(S16At(saved, 44 + 2 * i), savedExpected[i]) << in[i];

    const std::vector<uint8_t> preview = BuildWavImage(in, count, 176400, WavPurpose::Preview, 0, 0);
    const int16_t previewExpected[] = {32767, -32768, 22937, 32767, -32768, 32767, 32767, 32767,
                                       -32768, 0, 16384, 32761};
    for (int i = 0; i < count; ++i) EXPECT_EQ(S16At(preview, 44 + 2 * i), previewExpected[i]) << in[i];
}

TEST(WriteFileReplacing, ReplacesWholeFileKeepsModeAndFollowsLinks) {
    ScratchFolder folder;
    const std::string target = folder.File("a.wav");
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(target, {1, 2, 3}, error));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{1, 2, 3}));

    chmod(target.c_str(), 0640);
    ASSERT_TRUE(WriteFileReplacing(target, {9}, error));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{9}));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const std::string link = folder.File("link.wav");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileReplacing(link, {7, 7}, error));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{7, 7}));
    struct stat linkStat;
    ASSERT_EQ(lstat(link.c_str(), &linkStat), 0);
    EXPECT_TRUE(S_ISLNK(linkStat.st_mode));
    EXPECT_EQ(folder.Names().size(), 2u);
}

TEST(WriteFileReplacing, FailuresKeepTheOldFileAndLeaveNoTemporary) {
    ScratchFolder folder;
    const std::string target = folder.File("old.wav");
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(target, old);
    const std::vector<uint8_t> big(100000, 0x55);
    std::string error;

    // A file size limit stops every user, root included, in the middle of the write.
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = WriteFileReplacing(target, big, error);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "write error");
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.wav"});

    error.clear();
    EXPECT_FALSE(WriteFileReplacing(folder.path.string(), big, error));
    EXPECT_EQ(error, "can not open file");

    error.clear();
    EXPECT_FALSE(WriteFileReplacing(folder.File("missing/x.wav"), big, error));
    EXPECT_EQ(error, "can not open file");

    error.clear();
    EXPECT_FALSE(WriteFileReplacing("/dev/full", big, error));
    EXPECT_EQ(error, "write error");
    struct stat full;
    ASSERT_EQ(stat("/dev/full", &full), 0);
    EXPECT_TRUE(S_ISCHR(full.st_mode));  // written in place, never renamed over
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.wav"});
}

TEST(WriteFileReplacing, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; the size-limit case covers root";
    ScratchFolder folder;
    const std::string target = folder.File("old.wav");
    WriteBytes(target, {'o', 'l', 'd'});
    chmod(folder.path.c_str(), 0555);
    std::string error;
    EXPECT_FALSE(WriteFileReplacing(target, {1, 2}, error));
    EXPECT_EQ(error, "can not open file");
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
}
