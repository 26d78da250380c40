#include "io/preview.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "core/editor_state.h"
#include "io/wav_format.h"

namespace {

constexpr int32_t FrameRate = 176400;   // a 1024-sample frame sounds at 172.27 Hz
constexpr int32_t PadwaveRate = 22050;  // an octave below the rate the pad is made for

// The private folder of this run; empty until the first Play makes it.
std::string PreviewFolder;
bool RemovedAtExit = false;

std::string PreviewFile() { return PreviewFolder + "/temp.wav"; }

bool MakePreviewFolder(std::string& error) {
    if (!PreviewFolder.empty()) return true;
    const char* temporary = std::getenv("TMPDIR");
    const std::string parent = temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
    std::string pattern = parent + "/qarno-preview-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "can not make a folder in " + parent;
        return false;
    }
    PreviewFolder = pattern;
    if (!RemovedAtExit) {
        // Registered after PreviewFolder exists, so it runs while the name is alive.
        std::atexit(RemovePreviewFile);
        RemovedAtExit = true;
    }
    return true;
}

}  // namespace

bool PreviewWriter(int32_t first, int32_t end, std::string& reason) {
    const float* source = Wavetable;
    int32_t rate = FrameRate;
    if (ViewMode == ViewAdditive) {
        source = AdditiveFrame;
        first = 0;
        end = SamplesPerFrame;
    } else if (ViewMode == ViewPadwave) {
        source = PadwaveBuffer;
        rate = PadwaveRate;
    }
    const int32_t count = end - first;
    std::string error;
    if (MakePreviewFolder(error) &&
        WriteFileReplacing(PreviewFile(),
                           BuildWavImage(source + first, count, rate, WavPurpose::Preview, 0,
                                         count - 1),
                           error))
        return true;
    reason = "Cannot write the preview file: " + error;
    return false;
}

void PlayPreview(WindowHandle window) {
    StopSound();
    ComputeEditRange();
    int32_t first = RangeStart;
    int32_t end = FirstFrameEnd;
    if (ViewMode == ViewWavetable) {
        end = RangeEnd;
    } else if (ViewMode == ViewPadwave) {
        first = 0;
        end = PadwaveSamples;
    }
    std::string reason;
    if (PreviewWriter(first, end, reason) && PlayLoopingWav(PreviewFile(), reason)) return;
    ShowMessageBox(window, reason, "Error");
}

void RemovePreviewFile() {
    if (PreviewFolder.empty()) return;
    std::remove(PreviewFile().c_str());
    rmdir(PreviewFolder.c_str());
    PreviewFolder.clear();
}
