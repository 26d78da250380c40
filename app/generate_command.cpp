#include "app/generate_command.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "core/table_shape.h"
#include "io/file_access.h"
#include "io/wav_files.h"
#include "io/wav_format.h"
#include "synth/formula.h"

const char GenerateUsage[] =
    "Usage: qarno-wavetable-maker generate OUT.wav (--formula EXPR | --harmonics EXPR\n"
    "           [--phase EXPR]) [--from F] [--to G] [--in TABLE.wav] [--float | --export-2048]\n";
const char GenerateOptions[] =
    "Compute frames of a wavetable from a formula, as Synthesize > Formula... computes\n"
    "the Wavetable view's range, and write the table to OUT.wav as Save Wavetable does.\n"
    "\n"
    "  --formula EXPR    each sample: x runs -1..1 and w 0..1 along the cycle, y -1..1\n"
    "                    and z 0..1 along the frames, in the sample's value\n"
    "  --harmonics EXPR  each harmonic's amplitude, q the harmonic 1..511 and in its\n"
    "                    amplitude in the frame; the frame is their sum of sines\n"
    "  --phase EXPR      with --harmonics: each harmonic's phase in radians (default 0)\n"
    "  --from F, --to G  the frames to compute, 1 to 100 as the LEDs count them\n"
    "                    (default 1 and 100; either order)\n"
    "  --in TABLE.wav    the other frames, read as Load Wavetable reads (default silent)\n"
    "  --float           write 32-bit float frames exactly as computed\n"
    "  --export-2048     write as Export 2048 Wavetable does\n"
    "\n"
    "The README's section on formulas lists the names, operators and functions.\n";

namespace {

struct GenerateRequest {
    std::string out;
    std::string in;
    std::optional<std::string> wave, amplitude, phase;
    int from = 1;
    int to = FrameCount;
    bool asFloat = false;
    bool export2048 = false;
};

CommandLineOption TextOption(const char* name, std::optional<std::string>& into) {
    return {name, [&into](const std::string& value) {
                into = value;
                return true;
            }};
}

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, GenerateRequest& r) {
    const CommandLineSyntax syntax = {
        GenerateUsage,
        GenerateOptions,
        {TextOption("--formula", r.wave),
         TextOption("--harmonics", r.amplitude),
         TextOption("--phase", r.phase),
         NumberOption("--from", 1, FrameCount, true, r.from),
         NumberOption("--to", 1, FrameCount, true, r.to),
         {"--in", [&](const std::string& v) { return !(r.in = v).empty(); }},
         {"--float", [&](const std::string&) { return r.asFloat = true; }, true},
         {"--export-2048", [&](const std::string&) { return r.export2048 = true; }, true}},
        {&r.out},
        "wants one output file"};
    const int status = ReadCommandLine(argc, argv, 2, syntax);
    if (status >= 0) return status;
    if (r.wave.has_value() == r.amplitude.has_value())
        return CommandMisused(GenerateUsage, "wants either --formula or --harmonics");
    if (r.phase && !r.amplitude) return CommandMisused(GenerateUsage, "--phase wants --harmonics");
    if (r.asFloat && r.export2048)
        return CommandMisused(GenerateUsage, "wants --float or --export-2048, not both");
    return -1;
}

Formula RequestedFormula(const GenerateRequest& r) {
    Formula formula;
    formula.mode = r.wave ? FormulaMode::Wave : FormulaMode::Harmonics;
    formula.wave = r.wave.value_or(formula.wave);
    formula.amplitude = r.amplitude.value_or(formula.amplitude);
    formula.phase = r.phase.value_or(formula.phase);
    return formula;
}

} // namespace

int RunGenerateCommand(int argc, char** argv) {
    GenerateRequest request;
    const int status = ReadRequest(argc, argv, request);
    if (status >= 0) return status;
    std::vector<float> table(TableSamples, 0.0f);
    FileError error;
    if (!request.in.empty() && !ReadWavFrames(request.in, table.data(), FrameCount, error))
        return CommandFailed(error, request.in);
    const Formula formula = RequestedFormula(request);
    const int lo = std::min(request.from, request.to) - 1;
    const int hi = std::max(request.from, request.to) - 1;
    const FormulaOutcome outcome = ApplyFormula(formula, table.data(), lo, hi);
    if (!outcome.error.empty()) return CommandFailed(outcome.error);
    const std::vector<uint8_t> image =
        request.export2048 ? BuildExport2048Image(table.data())
        : request.asFloat
            ? BuildFloatTableImage(table.data())
            : BuildWavImage(table.data(), TableSamples, 44100, WavPurpose::SavedFrames,
                            lo * SamplesPerFrame, (hi + 1) * SamplesPerFrame - 1);
    if (!WriteFileReplacing(request.out, image, error)) return CommandFailed(error, request.out);
    if (outcome.nonFinite > 0)
        std::fprintf(stderr, "qarno-wavetable-maker: %s\n",
                     NonFiniteNote(formula.mode, outcome.nonFinite).c_str());
    return 0;
}
