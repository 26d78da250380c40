// The looping preview: Play writes what the current view shows to "temp.wav" in
// a private folder made for this run under the system's temporary directory and
// hands it to the sound player; closing the window removes file and folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// What Play sounds: `count` samples from `samples`, at `rate` samples per second.
struct PreviewMaterial {
    const float* samples;
    int32_t count;
    int32_t rate;
};

// Recomputes the edit range and decides what the current view plays: the
// current frame (Waveform view) or the frames from the lower to the higher knob
// (Wavetable view) at 176400 Hz, the AdditiveFrame at 176400 Hz, or the whole
// PadwaveBuffer at 22050 Hz, an octave below the rate it is made for.
PreviewMaterial ChoosePreviewMaterial();

// Writes the preview file, looped whole; false, with a one-line reason, when it
// cannot be written.
bool PreviewWriter(const PreviewMaterial& material, std::string& reason);

// Play: stops the player, writes the preview file of the current view and
// starts it looping. A file that cannot be written or a player that cannot sound
// is reported in one message box.
void PlayPreview(WindowHandle window);

// Removes the preview file and its folder, if Play made them. Safe to call from
// a signal handler: it only unlinks and removes the folder.
void RemovePreviewFile();
