// The looping preview: Play writes what the current view shows to "temp.wav" in
// a private folder made for this run under the system's temporary directory and
// hands it to the sound player; closing the window removes file and folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Writes the preview file from the current view's source: Wavetable samples
// first .. end - 1 in the Waveform and Wavetable views (176400 Hz), the whole
// AdditiveFrame in the Additive view (176400 Hz, first and end unused), or
// PadwaveBuffer samples first .. end - 1 in the Padwave view (22050 Hz). The loop
// covers the whole file. False, with a one-line reason, when it cannot be written.
bool PreviewWriter(int32_t first, int32_t end, std::string& reason);

// Play: stops the player, recomputes the edit range, writes the preview file and
// starts it looping. A file that cannot be written or a player that cannot sound
// is reported in one message box.
void PlayPreview(WindowHandle window);

// Removes the preview file and its folder, if Play made them.
void RemovePreviewFile();
