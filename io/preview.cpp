#include "io/preview.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "core/editor_state.h"
#include "io/file_access.h"
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
    std::string error;
    const std::vector<uint8_t> image = BuildWavImage(material.samples, material.count, material.rate,
                                                     WavPurpose::Preview, 0, material.count - 1);
    if (MakePreviewFolder(error) && WriteFileReplacing(PreviewFile(), image, error)) return true;
    reason = "Cannot write the preview file: " + error;
    return false;
}

void PlayPreview(WindowHandle window) {
    StopSound();
    std::string reason;
    if (PreviewWriter(ChoosePreviewMaterial(), reason) && PlayLoopingWav(PreviewFile(), reason)) return;
    ShowMessageBox(window, reason, "Error");
}

void RemovePreviewFile() {
    if (PreviewFolder.empty()) return;
    std::remove(PreviewFile().c_str());
    rmdir(PreviewFolder.c_str());
    PreviewFolder.clear();
}
