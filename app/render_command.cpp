#include "app/render_command.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "io/file_access.h"
#include "io/wav_files.h"
#include "io/wav_format.h"
#include "synth/audition.h"

const char RenderUsage[] =
    "Usage: qarno-wavetable-maker render TABLE.wav OUT.wav [--note N] [--seconds S]\n"
    "           [--from F] [--to G] [--velocity V] [--rate R]\n";
const char RenderOptions[] =
    "Play one note of a wavetable file and write it to OUT.wav (32-bit float stereo).\n"
    "The note is held S seconds while it sweeps from frame F to frame G, then released;\n"
    "the file holds the release too.\n"
    "\n"
    "  --note N       MIDI note number 0 to 127, or a name such as A4, C#3, Eb2 (C4 = 60;\n"
    "                 default C3)\n"
    "  --seconds S    seconds the note is held, 0 to 300 (default 4)\n"
    "  --from F       frame at the start of the note, 0 to 99 (default 0)\n"
    "  --to G         frame at the end of the hold, 0 to 99 (default 99; G = F holds one frame)\n"
    "  --velocity V   1 to 127 (default 127)\n"
    "  --rate R       sample rate of OUT.wav in Hz, 8000 to 192000 (default 48000)\n";

namespace {

struct RenderRequest {
    std::string table;
    std::string out;
    int note = 48;
    double seconds = 4.0;
    float from = 0.0f;
    float to = 99.0f;
    int velocity = 127;
    int rate = 48000;
};

// A number written whole, finite and within lo .. hi.
bool ParseNumber(const std::string& text, double lo, double hi, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && value >= lo && value <= hi;
}

bool ParseWhole(const std::string& text, int lo, int hi, int& value) {
    double number = 0.0;
    if (!ParseNumber(text, lo, hi, number) || number != std::floor(number)) return false;
    value = static_cast<int>(number);
    return true;
}

// A MIDI note number, or a letter A to G, an optional # or b, and an octave
// from -1 to 9, C4 being 60.
bool ParseNote(const std::string& text, int& note) {
    if (ParseWhole(text, 0, 127, note)) return true;
    static const int steps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.empty()) return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G') return false;
    int semitone = steps[letter - 'A'];
    size_t at = 1;
    if (at < text.size() && (text[at] == '#' || text[at] == 'b')) {
        semitone += text[at] == '#' ? 1 : -1;
        ++at;
    }
    int octave = 0;
    if (at == text.size() || !ParseWhole(text.substr(at), -1, 9, octave)) return false;
    note = 12 * (octave + 1) + semitone;
    return note >= 0 && note <= 127;
}

int Misused(const std::string& problem) {
    std::fprintf(stderr, "%sqarno-wavetable-maker: %s\n", RenderUsage, problem.c_str());
    return 2;
}

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, RenderRequest& request) {
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::printf("%s%s", RenderUsage, RenderOptions);
            return 0;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            files.push_back(arg);
            continue;
        }
        if (i + 1 == argc) return Misused(arg + " wants a value");
        const std::string value = argv[++i];
        double number = 0.0;
        bool good = true;
        if (arg == "--note") {
            good = ParseNote(value, request.note);
        } else if (arg == "--seconds") {
            good = ParseNumber(value, 0.0, 300.0, request.seconds);
        } else if (arg == "--from" || arg == "--to") {
            good = ParseNumber(value, 0.0, FrameCount - 1, number);
            if (arg == "--from")
                request.from = static_cast<float>(number);
            else
                request.to = static_cast<float>(number);
        } else if (arg == "--velocity") {
            good = ParseWhole(value, 1, 127, request.velocity);
        } else if (arg == "--rate") {
            good = ParseWhole(value, 8000, 192000, request.rate);
        } else {
            return Misused("unknown option \"" + arg + "\"");
        }
        if (!good) return Misused("bad value \"" + value + "\" for " + arg);
    }
    if (files.size() != 2) return Misused("wants a table file and an output file");
    request.table = files[0];
    request.out = files[1];
    return -1;
}

int FileFailed(const FileError& error, const std::string& path) {
    if (error.why.empty())
        std::fprintf(stderr, "qarno-wavetable-maker: can not load %s: %s\n", path.c_str(),
                     error.what.c_str());
    else
        std::fprintf(stderr, "qarno-wavetable-maker: %s %s: %s\n", error.what.c_str(), path.c_str(),
                     error.why.c_str());
    return 1;
}

// The held note and its release, interleaved stereo.
std::vector<float> PlayNote(const AuditionMaterial* material, const RenderRequest& request) {
    constexpr int Block = 256;
    AuditionEngine engine;
    AuditionReset(engine, static_cast<float>(request.rate));
    AuditionPlayMode mode;
    mode.from = request.from;
    mode.to = request.to;
    mode.seconds = static_cast<float>(request.seconds);
    AuditionApply(engine, PlayModeEvent(mode));
    const auto note = static_cast<uint8_t>(request.note);
    AuditionApply(engine, NoteOnEvent(note, static_cast<uint8_t>(request.velocity)));
    const auto held = static_cast<int64_t>(std::llround(request.seconds * request.rate));
    std::vector<float> out(static_cast<size_t>(2 * held));
    for (int64_t done = 0; done < held; done += Block)
        AuditionRender(engine, material, out.data() + 2 * done,
                       static_cast<int>(std::min<int64_t>(Block, held - done)));
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
    if (!ReadWavFrames(request.table, table.data(), FrameCount, error))
        return FileFailed(error, request.table);
    const std::vector<float> silence(PadwaveSamples, 0.0f);
    std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)> material(
        BuildAuditionMaterial(table.data(), silence.data(), silence.data(), nullptr),
        &FreeAuditionMaterial);
    if (!material) return FileFailed({"can not render", "out of memory"}, request.table);
    const std::vector<float> sound = PlayNote(material.get(), request);
    const int64_t frames = static_cast<int64_t>(sound.size() / 2);
    if (!WriteFileReplacing(request.out, BuildStereoFloatImage(sound.data(), frames, request.rate),
                            error))
        return FileFailed(error, request.out);
    return 0;
}
