// The one sound output on SDL2 audio: the live audition (platform/common/
// audition_port.h) and Play's loop, which loops a WAV file at the device's rate
// without a seam and stops within one buffer, mixed in SDL's audio callback.
#pragma once

#include <string>

// Opens the default output device unless it is open and starts it running;
// false, with SDL's reason, when it cannot be opened.
bool SdlPlayerOpen(std::string& reason);
// True while the device is open (its callback may be running).
bool SdlPlayerRunning();
// Opens the default output device on first use, loads the file and starts it
// looping, replacing whatever played. False, with a one-line reason, when the
// file cannot be read or no output device can be opened.
bool SdlPlayerStart(const std::string& wavPath, std::string& reason);
// Silences the loop at once; harmless when nothing plays.
void SdlPlayerStop();
// Closes the device and SDL's audio subsystem.
void SdlPlayerClose();

// The open output: its rate in Hz, its interleaved channels of 32-bit floats and
// the frames of one device buffer; all zero while no device is open.
struct SdlPlayerOutput {
    int rate = 0;
    int channels = 0;
    int bufferFrames = 0;
};
SdlPlayerOutput SdlPlayerOutputFormat();
