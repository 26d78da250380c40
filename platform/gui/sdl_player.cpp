#include "platform/gui/sdl_player.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/common/audition_port.h"

namespace {

// Asked of the device; it may give another rate or channel count, which the
// callback follows. Samples always reach the callback as 32-bit floats.
constexpr int WantedRate = 48000;
constexpr int WantedChannels = 2;
// Short buffers keep a played key's note within a few milliseconds.
constexpr int WantedBufferFrames = 256;
// The audition renders at most this many frames at a time, into AuditionBlock.
constexpr int AuditionFrames = 256;

SDL_AudioDeviceID Device = 0;
SDL_AudioSpec Output;
bool ClosedAtExit = false;

// Shared with the audio callback; touched by the GUI thread only while the
// device is locked.
std::vector<float> Loop; // the file's samples, -1 .. 1
double LoopPhase = 0.0;  // position in Loop, 0 <= LoopPhase < Loop.size()
double LoopStep = 0.0;   // file samples per device frame

// The audio thread's own: the audition's stereo block before it is mixed.
float AuditionBlock[2 * AuditionFrames];

// The audition's share of one output channel: left and right on the first two,
// their mean on a mono output, nothing on the others.
float AuditionSample(int frame, int channel, int channels) {
    const float left = AuditionBlock[2 * frame], right = AuditionBlock[2 * frame + 1];
    if (channels == 1) return 0.5f * (left + right);
    return channel == 0 ? left : channel == 1 ? right : 0.0f;
}

// Play's loop at the device's rate, one device frame a call: the linear
// interpolation between sample i and sample (i + 1) mod N, so the last sample
// leads into the first without a seam. The phase advances by LoopStep and wraps
// in double precision, so the pitch does not drift however long the loop plays.
float NextLoopSample() {
    const size_t count = Loop.size();
    if (count == 0) return 0.0f;
    const size_t i = static_cast<size_t>(LoopPhase);
    const float fraction = static_cast<float>(LoopPhase - static_cast<double>(i));
    const float a = Loop[i];
    const float b = Loop[(i + 1) % count];
    LoopPhase += LoopStep;
    if (LoopPhase >= static_cast<double>(count))
        LoopPhase = std::fmod(LoopPhase, static_cast<double>(count));
    return a + (b - a) * fraction;
}

// SDL's audio callback: the audition rendered in blocks of at most
// AuditionFrames, and Play's loop added to every channel of every frame.
void FillOutput(void*, Uint8* stream, int length) {
    float* out = reinterpret_cast<float*>(stream);
    const int channels = Output.channels;
    const int frames = length / static_cast<int>(sizeof(float)) / channels;
    for (int start = 0; start < frames; start += AuditionFrames) {
        const int block = std::min(AuditionFrames, frames - start);
        AuditionPortRender(AuditionBlock, block);
        for (int f = 0; f < block; ++f) {
            const float loop = NextLoopSample();
            float* frame = out + (start + f) * channels;
            for (int c = 0; c < channels; ++c) frame[c] = AuditionSample(f, c, channels) + loop;
        }
    }
}

// Reads a 16-bit mono PCM file into samples of -1 .. 1.
bool LoadLoop(const std::string& path, std::vector<float>& samples, int& rate,
              std::string& reason) {
    SDL_AudioSpec wavFormat;
    Uint8* data = nullptr;
    Uint32 bytes = 0;
    if (SDL_LoadWAV(path.c_str(), &wavFormat, &data, &bytes) == nullptr) {
        reason = std::string("Cannot read the preview file: ") + SDL_GetError();
        return false;
    }
    const bool usable = wavFormat.format == AUDIO_S16LSB && wavFormat.channels == 1 && bytes >= 2;
    if (usable) {
        samples.resize(bytes / 2);
        for (size_t i = 0; i < samples.size(); ++i) {
            const int16_t v = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
            samples[i] = static_cast<float>(v) * (1.0f / 32768.0f);
        }
        rate = wavFormat.freq;
    } else {
        reason = "The preview file is not 16-bit mono sound";
    }
    SDL_FreeWAV(data);
    return usable;
}

} // namespace

bool SdlPlayerOpen(std::string& reason) {
    if (Device != 0) return true;
    // SDL must leave SIGINT and SIGTERM to the program, so that they still end it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        reason = std::string("No audio output: ") + SDL_GetError();
        return false;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = WantedRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = WantedChannels;
    wanted.samples = WantedBufferFrames;
    wanted.callback = FillOutput;
    Device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &Output,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (Device == 0) {
        reason = std::string("No audio output: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (!ClosedAtExit) {
        // Registered after Loop exists, so the device closes before Loop goes away.
        std::atexit(SdlPlayerClose);
        ClosedAtExit = true;
    }
    // The device runs from here on: the audition sounds whenever a note does.
    AuditionPortStart(static_cast<float>(Output.freq));
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

bool SdlPlayerStart(const std::string& wavPath, std::string& reason) {
    std::vector<float> samples;
    int rate = 0;
    if (!LoadLoop(wavPath, samples, rate, reason) || !SdlPlayerOpen(reason)) return false;
    SDL_LockAudioDevice(Device);
    Loop.swap(samples);
    LoopPhase = 0.0;
    LoopStep = static_cast<double>(rate) / static_cast<double>(Output.freq);
    SDL_UnlockAudioDevice(Device);
    return true;
}

void SdlPlayerStop() {
    if (Device == 0) return;
    std::vector<float> old;
    SDL_LockAudioDevice(Device);
    Loop.swap(old);
    SDL_UnlockAudioDevice(Device);
}

void SdlPlayerClose() {
    if (Device == 0) return;
    SDL_CloseAudioDevice(Device);
    Device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
    std::vector<float>().swap(Loop);
}

bool SdlPlayerRunning() { return Device != 0; }

SdlPlayerOutput SdlPlayerOutputFormat() {
    SdlPlayerOutput output;
    if (Device != 0) {
        output.rate = Output.freq;
        output.channels = Output.channels;
        output.bufferFrames = Output.samples;
    }
    return output;
}
