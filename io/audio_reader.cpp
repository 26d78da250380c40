#include "io/audio_reader.h"

#include <algorithm>
#include <functional>

#include <sndfile.h>
#include <unistd.h>

namespace {

constexpr sf_count_t BlockFrames = 4096;

// The open file, closed on every way out. The file is opened here rather than
// by libsndfile so that a file that cannot be opened gets the system's reason
// in its own words.
struct SoundFile {
    FileError openError; // before fd, which is opened with it
    int fd = -1;
    SNDFILE* file = nullptr;
    SF_INFO info{};
    explicit SoundFile(const std::string& path) : fd(OpenForReading(path, openError)) {
        if (fd >= 0) file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    }
    ~SoundFile() {
        if (file != nullptr) sf_close(file);
        if (fd >= 0) close(fd);
    }
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
};

bool Failed(FileError& error, const std::string& why) {
    error = {CannotReadAudio, why};
    return false;
}

bool Opened(const SoundFile& sound, FileError& error) {
    if (sound.fd < 0) return Failed(error, sound.openError.why);
    if (sound.file == nullptr) return Failed(error, sf_strerror(nullptr));
    if (sound.info.channels < 1 || sound.info.samplerate < 1)
        return Failed(error, "the file declares no channels or no sample rate");
    if (sound.info.frames < 1) return Failed(error, "the file holds no samples");
    return true;
}

} // namespace

bool ProbeAudioFile(const std::string& path, AudioFileInfo& info, FileError& error) {
    SoundFile sound(path);
    if (!Opened(sound, error)) return false;
    info = {sound.info.frames, sound.info.samplerate, sound.info.channels};
    return true;
}

bool ReadAudioBlocks(const std::string& path, int64_t first, int64_t count,
                     const std::function<void(const float* mono, int64_t length)>& take,
                     FileError& error) {
    SoundFile sound(path);
    if (!Opened(sound, error)) return false;
    if (first < 0 || count < 0 || first > sound.info.frames - count)
        return Failed(error, "the span lies outside the file");
    if (first > 0 && sf_seek(sound.file, first, SEEK_SET) < 0)
        return Failed(error, sf_strerror(sound.file));
    const int32_t channels = sound.info.channels;
    std::vector<float> block(static_cast<size_t>(BlockFrames) * channels);
    std::vector<float> mono(static_cast<size_t>(BlockFrames));
    int64_t done = 0;
    while (done < count) {
        const sf_count_t want = std::min<sf_count_t>(BlockFrames, count - done);
        const sf_count_t got = sf_readf_float(sound.file, block.data(), want);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            float sum = 0.0f;
            for (int32_t c = 0; c < channels; ++c)
                sum += block[static_cast<size_t>(i * channels + c)];
            mono[static_cast<size_t>(i)] = sum / static_cast<float>(channels);
        }
        take(mono.data(), got);
        done += got;
    }
    if (done == count) return true;
    if (sf_error(sound.file) != SF_ERR_NO_ERROR) return Failed(error, sf_strerror(sound.file));
    return Failed(error, "the file ends before its declared length");
}

bool ReadAudioSpan(const std::string& path, int64_t first, int64_t count, std::vector<float>& mono,
                   FileError& error) {
    mono.clear();
    const bool read = ReadAudioBlocks(
        path, first, count,
        [&](const float* block, int64_t length) { mono.insert(mono.end(), block, block + length); },
        error);
    if (!read) mono.clear();
    return read;
}
