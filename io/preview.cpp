#include "io/preview.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "core/editor_state.h"
#include "io/file_access.h"
#include "io/wav_format.h"

namespace {

constexpr int32_t FrameRate = 176400;  // a 1024-sample frame sounds at 172.27 Hz
constexpr int32_t PadwaveRate = 22050; // an octave below the rate the pad is made for

// The private folder of this run and the preview file in it, empty until the
// first Play makes them. Plain characters, so that a signal handler can remove
// them without allocating.
char PreviewFolder[PATH_MAX];
char PreviewFile[PATH_MAX];
bool RemovedAtExit = false;

bool MakePreviewFolder(FileError& error) {
    if (PreviewFolder[0] != '\0') return true;
    const char* temporary = std::getenv("TMPDIR");
    const std::string parent = temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
    std::string pattern = parent + "/qarno-preview-XXXXXX";
    const bool fits = pattern.size() + sizeof "/temp.wav" <= sizeof PreviewFile;
    if (!fits || mkdtemp(pattern.data()) == nullptr) {
        error = {"can not make a folder in " + parent, std::strerror(fits ? errno : ENAMETOOLONG)};
        return false;
    }
    std::snprintf(PreviewFolder, sizeof PreviewFolder, "%s", pattern.c_str());
    std::snprintf(PreviewFile, sizeof PreviewFile, "%s/temp.wav", pattern.c_str());
    if (!RemovedAtExit) {
        std::atexit(RemovePreviewFile);
        RemovedAtExit = true;
    }
    return true;
}

} // namespace

PreviewMaterial ChoosePreviewMaterial() {
    ComputeEditRange();
    switch (ViewMode) {
    case ViewWavetable:
        return {Wavetable + RangeStart, RangeEnd - RangeStart, FrameRate};
    case ViewAdditive:
        return {AdditiveFrame, SamplesPerFrame, FrameRate};
    case ViewPadwave:
        return {PadwaveBuffer, PadwaveSamples, PadwaveRate};
    default:
        return {Wavetable + RangeStart, SamplesPerFrame, FrameRate};
    }
}

bool PreviewWriter(const PreviewMaterial& material, std::string& reason) {
    const std::vector<uint8_t> image =
        BuildWavImage(material.samples, material.count, material.rate, WavPurpose::Preview, 0,
                      material.count - 1);
    FileError error;
    if (MakePreviewFolder(error) && WriteFileReplacing(PreviewFile, image, error)) return true;
    reason = "Cannot write the preview file: " + error.what + ": " + error.why;
    return false;
}

void PlayPreview(WindowHandle window) {
    StopSound();
    std::string reason;
    if (PreviewWriter(ChoosePreviewMaterial(), reason) && PlayLoopingWav(PreviewFile, reason))
        return;
    ShowMessageBox(window, reason, "Error");
}

void RemovePreviewFile() {
    if (PreviewFolder[0] == '\0') return;
    unlink(PreviewFile);
    rmdir(PreviewFolder);
    PreviewFolder[0] = '\0';
}
