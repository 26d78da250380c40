#include "app/import_command.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
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
    "  --from S       start of the span in seconds (default: 50 ms after the attack,\n"
    "                 when the level first comes within 6 dB of its loudest)\n"
    "  --to S         end of the span in seconds (default: the last moment the level is\n"
    "                 within 12 dB of its loudest and the pitch is still found)\n"
    "  --export-2048  write as Export 2048 Wavetable does (32-bit float, 2048-sample frames)\n";

namespace {

struct ImportRequest {
    std::string audio;
    std::string out;
    double pitch = 0.0;
    std::optional<double> from, to;
    bool export2048 = false;
};

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, ImportRequest& r) {
    const CommandLineSyntax syntax = {
        ImportUsage,
        ImportOptions,
        {{"--pitch", [&](const std::string& v) { return ParsePitch(v, r.pitch); }},
         NumberOption("--from", 0, HUGE_VAL, false, r.from),
         NumberOption("--to", 0, HUGE_VAL, false, r.to),
         {"--export-2048", [&](const std::string&) { return r.export2048 = true; }, true}},
        {&r.audio, &r.out},
        "wants an audio file and an output file"};
    return ReadCommandLine(argc, argv, 2, syntax);
}

} // namespace

int RunImportCommand(int argc, char** argv) {
    ImportRequest request;
    const int status = ReadRequest(argc, argv, request);
    if (status >= 0) return status;
    AudioFileInfo info;
    FileError error;
    if (!ProbeAudioFile(request.audio, info, error)) return CommandFailed(error, request.audio);
    AudioSpan steady;
    AudioEnvelope envelope;
    if ((!request.from || !request.to) &&
        !FindSteadySpan(request.audio, info, envelope, steady, error))
        return CommandFailed(error, request.audio);
    const AudioSpan span = {request.from.value_or(steady.from), request.to.value_or(steady.to)};
    if (const char* problem = SpanProblem(span)) return CommandMisused(ImportUsage, problem);
    std::vector<float> table(TableSamples, 0.0f);
    double found = 0.0;
    std::string message;
    if (!ImportAudioCycles(request.audio, span, request.pitch, FrameCount, table.data(), found,
                           message))
        return CommandFailed(message);
    const std::vector<uint8_t> image =
        request.export2048 ? BuildExport2048Image(table.data())
                           : BuildWavImage(table.data(), TableSamples, 44100,
                                           WavPurpose::SavedFrames, 0, TableSamples - 1);
    if (!WriteFileReplacing(request.out, image, error)) return CommandFailed(error, request.out);
    std::printf("%s\n", DescribePitch(found).c_str());
    return 0;
}
