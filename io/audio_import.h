// File > Import Audio and files dropped on the window: the import dialog, then
// the frames of io/audio_import_pipeline.h put into the table.
#pragma once

#include <string>

#include "platform/platform.h"

// File > Import Audio...: asks for an audio file, then imports it as a drop does.
void ImportAudio(WindowHandle owner);

// Imports the file through the import dialog: 100 frames in the Wavetable view,
// one cycle into the current frame in the Waveform view. The undo snapshot is
// taken just before the table changes; Cancel and every failure leave the
// table and the snapshot as they were. A file that cannot be read is said in a
// message box before any dialog; what the choices cannot import (no pitch, a
// pitch that is none, a span too short or backwards) is said in the dialog.
void ImportAudioFile(WindowHandle owner, const std::string& path);
