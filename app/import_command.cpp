#include "app/import_command.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "io/audio_import_pipeline.h"
#include "io/pitch_names.h"
#include "io/wav_files.h"
#include "io/wav_format.h"

const char ImportUsage[] = "Usage: qarno-wavetable-maker import AUDIO OUT.wav [--pitch HZ|NOTE]\n"
                           "           [--from S] [--to S] [--export-2048]\n";
const char ImportOptions[] =
    "Make a 100-frame wavetable from recorded sound (WAV, AIFF, FLAC, Ogg, Opus, MP3):\n"
    "one cycle of the sound at its own pitch a frame, at evenly spaced times of the span.\n"
    "Writes OUT.wav as Save Wavetable does and prints the pitch used.\n"
    "\n"
    "  --pitch P      the pitch to cut the cycles at, in Hz (196.2) or a note name\n"
    "                 (G3, C#4, Bb2); default the pitch tracked along the span\n"
    "  --from S       start of the span in seconds (default: 5 % of the file's length)\n"
    "  --to S         end of the span in seconds (default: the file's end)\n"
    "  --export-2048  write as Export 2048 Wavetable does (32-bit float, 2048-sample frames)\n";

namespace {

struct ImportRequest {
    std::string audio;
    std::string out;
    double pitch = 0.0;
    bool from = false, to = false;
    AudioSpan span;
    bool export2048 = false;
};

int Misused(const std::string& problem) {
    std::fprintf(stderr, "%sqarno-wavetable-maker: %s\n", ImportUsage, problem.c_str());
    return 2;
}

bool ParseSeconds(const std::string& text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0;
}

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, ImportRequest& request) {
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::printf("%s%s", ImportUsage, ImportOptions);
            return 0;
        }
        if (arg == "--export-2048") {
            request.export2048 = true;
            continue;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            files.push_back(arg);
            continue;
        }
        if (arg != "--pitch" && arg != "--from" && arg != "--to")
            return Misused("unknown option \"" + arg + "\"");
        if (i + 1 == argc) return Misused(arg + " wants a value");
        const std::string value = argv[++i];
        bool good = true;
        if (arg == "--pitch") {
            good = ParsePitch(value, request.pitch);
        } else if (arg == "--from") {
            good = ParseSeconds(value, request.span.from);
            request.from = true;
        } else {
            good = ParseSeconds(value, request.span.to);
            request.to = true;
        }
        if (!good) return Misused("bad value \"" + value + "\" for " + arg);
    }
    if (files.size() != 2) return Misused("wants an audio file and an output file");
    request.audio = files[0];
    request.out = files[1];
    return -1;
}

int Failed(const std::string& message) {
    std::fprintf(stderr, "qarno-wavetable-maker: %s\n", message.c_str());
    return 1;
}

} // namespace

int RunImportCommand(int argc, char** argv) {
    ImportRequest request;
    const int status = ReadRequest(argc, argv, request);
    if (status >= 0) return status;
    AudioFileInfo info;
    FileError error;
    if (!ProbeAudioFile(request.audio, info, error))
        return Failed(error.what + " " + request.audio + ": " + error.why);
    const AudioSpan whole = DefaultSpan(info);
    if (!request.from) request.span.from = whole.from;
    if (!request.to) request.span.to = whole.to;
    std::vector<float> table(TableSamples, 0.0f);
    double found = 0.0;
    std::string message;
    if (!ImportAudioCycles(request.audio, request.span, request.pitch, FrameCount, table.data(),
                           found, message))
        return Failed(message);
    const std::vector<uint8_t> image =
        request.export2048 ? BuildExport2048Image(table.data())
                           : BuildWavImage(table.data(), TableSamples, 44100,
                                           WavPurpose::SavedFrames, 0, TableSamples - 1);
    if (!WriteFileReplacing(request.out, image, error))
        return Failed(error.what + " " + request.out + ": " + error.why);
    std::printf("%s\n", DescribePitch(found).c_str());
    return 0;
}
