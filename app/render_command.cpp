#include "app/render_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "core/editor_state.h"
#include "io/file_access.h"
#include "io/wav_files.h"
#include "io/wav_format.h"
#include "platform/common/text_parse.h"
#include "synth/audition.h"

const char RenderUsage[] =
    "Usage: qarno-wavetable-maker render TABLE.wav OUT.wav [--note N] [--seconds S]\n"
    "           [--from F] [--to G] [--velocity V] [--rate R]\n";
const char RenderOptions[] =
    "Play one note of a wavetable file and write it to OUT.wav (32-bit float stereo).\n"
    "The note is held S seconds (at least through its 3 ms attack) while it sweeps from\n"
    "frame F to frame G, then released; the file holds the 150 ms release too. Frames are\n"
    "numbered 1 to 100, as the Wave and Offset LEDs show them.\n"
    "\n"
    "  --note N       MIDI note number 0 to 127, or a name such as A4, C#3, Eb2 (C4 = 60;\n"
    "                 default C3)\n"
    "  --seconds S    seconds the note is held, 0 to 300 (default 4)\n"
    "  --from F       frame at the start of the note, 1 to 100 (default 1)\n"
    "  --to G         frame at the end of the hold, 1 to 100 (default 100; G = F holds one\n"
    "                 frame)\n"
    "  --velocity V   1 to 127 (default 127)\n"
    "  --rate R       sample rate of OUT.wav in Hz, 8000 to 192000 (default 48000)\n";

namespace {

struct RenderRequest {
    std::string table;
    std::string out;
    int note = 48;
    double seconds = 4.0;
    float from = 1.0f; // frames as the LEDs number them
    float to = FrameCount;
    int velocity = 127;
    int rate = 48000;
};

// A MIDI note number, or a name such as A4, C#3, Eb2 (C4 = 60).
bool ReadNote(const std::string& text, int& note) {
    std::optional<int> number = ParseWhole(text, 0, 127);
    if (!number) number = ParseNoteName(text);
    if (!number || *number < 0 || *number > 127) return false;
    note = *number;
    return true;
}

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, RenderRequest& r) {
    const CommandLineSyntax syntax = {
        RenderUsage,
        RenderOptions,
        {{"--note", [&](const std::string& v) { return ReadNote(v, r.note); }},
         NumberOption("--seconds", 0, 300, false, r.seconds),
         NumberOption("--from", 1, FrameCount, false, r.from),
         NumberOption("--to", 1, FrameCount, false, r.to),
         NumberOption("--velocity", 1, 127, true, r.velocity),
         NumberOption("--rate", 8000, 192000, true, r.rate)},
        {&r.table, &r.out},
        "wants a table file and an output file"};
    return ReadCommandLine(argc, argv, 2, syntax);
}

// The held note and its release, interleaved stereo.
std::vector<float> PlayNote(const AuditionMaterial* material, const RenderRequest& request) {
    constexpr int Block = 256;
    AuditionEngine engine;
    AuditionReset(engine, static_cast<float>(request.rate));
    AuditionPlayMode mode;
    mode.from = request.from - 1.0f;
    mode.to = request.to - 1.0f;
    mode.seconds = static_cast<float>(request.seconds);
    AuditionApply(engine, PlayModeEvent(mode));
    const auto note = static_cast<uint8_t>(request.note);
    AuditionApply(engine, NoteOnEvent(note, static_cast<uint8_t>(request.velocity)));
    const auto held = static_cast<int64_t>(std::llround(request.seconds * request.rate));
    std::vector<float> out(static_cast<size_t>(2 * held));
    for (int64_t done = 0; done < held; done += Block)
        AuditionRender(engine, material, out.data() + 2 * done,
                       static_cast<int>(std::min<int64_t>(Block, held - done)));
    // A note held for less than its attack is held until it is at full level,
    // so that its release is heard whole.
    while (std::any_of(std::begin(engine.voices), std::end(engine.voices),
                       [](const AuditionVoice& v) { return v.stage == AuditionStage::Attack; })) {
        out.resize(out.size() + 2);
        AuditionRender(engine, material, out.data() + out.size() - 2, 1);
    }
    AuditionApply(engine, NoteOffEvent(note));
    // The release, block by block until the voice has ended.
    while (!AuditionSilent(engine)) {
        const size_t at = out.size();
        out.resize(at + 2 * Block);
        AuditionRender(engine, material, out.data() + at, Block);
    }
    return out;
}

} // namespace

int RunRenderCommand(int argc, char** argv) {
    RenderRequest request;
    const int status = ReadRequest(argc, argv, request);
    if (status >= 0) return status;
    std::vector<float> table(TableSamples, 0.0f);
    FileError error;
    WavContent content;
    if (!ReadWavFrames(request.table, table.data(), FrameCount, error, &content))
        return CommandFailed(error, request.table);
    // Without a declared frame size only a whole number of frames, no more
    // than the table holds, is likely to be a table.
    if (content.frameSize == 0 &&
        (content.count % SamplesPerFrame != 0 || content.count > uint64_t{TableSamples}))
        CommandWarns(request.table + ": no frame size declared: read as 1024-sample frames");
    const std::vector<float> silence(PadwaveSamples, 0.0f);
    std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)> material(
        BuildAuditionMaterial(table.data(), silence.data(), silence.data(), nullptr),
        &FreeAuditionMaterial);
    if (!material) return CommandFailed({"can not render", "out of memory"}, request.table);
    const std::vector<float> sound = PlayNote(material.get(), request);
    const int64_t frames = static_cast<int64_t>(sound.size() / 2);
    if (!WriteFileReplacing(request.out, BuildStereoFloatImage(sound.data(), frames, request.rate),
                            error))
        return CommandFailed(error, request.out);
    return 0;
}
