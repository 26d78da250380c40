#include "app/generate_command.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/script_command.h"
#include "core/table_shape.h"
#include "io/file_access.h"
#include "io/wav_files.h"
#include "io/wav_format.h"
#include "io/wtscript_file.h"
#include "synth/formula.h"
#include "synth/script_frames.h"

const char GenerateUsage[] =
    "Usage: qarno-wavetable-maker generate OUT.wav (--formula EXPR | --harmonics EXPR\n"
    "           [--phase EXPR] | --script FILE [--frames N] [--samples S]) [--from F] [--to G]\n"
    "           [--in TABLE.wav] [--float | --export-2048]\n";
const char GenerateOptions[] =
    "Compute frames of a wavetable from a formula, as Synthesize > Formula... computes\n"
    "the Wavetable view's range, and write the table to OUT.wav as Save Wavetable does.\n"
    "\n"
    "  --formula EXPR    each sample: x runs -1..1 and w 0..1 along the cycle, y -1..1\n"
    "                    and z 0..1 along the frames, in the sample's value\n"
    "  --harmonics EXPR  each harmonic's amplitude, q the harmonic 1..511 and in its\n"
    "                    amplitude in the frame; the frame is their sum of sines\n"
    "  --phase EXPR      with --harmonics: each harmonic's phase in radians (default 0)\n"
    "  --script FILE     run a wavetable script in Surge XT's Lua API, a .lua file or a\n"
    "                    .wtscript file, as Synthesize > Script... does\n"
    "  --frames N        with --script: the frames it makes, 1 to 512 (default the\n"
    "                    .wtscript file's, else the range's count)\n"
    "  --samples S       with --script: each frame's samples, 32 to 4096, a power of\n"
    "                    two (default the .wtscript file's, else 1024)\n"
    "  --from F, --to G  the frames to compute, 1 to 100 as the LEDs count them\n"
    "                    (default 1 and 100; either order)\n"
    "  --in TABLE.wav    the other frames, read as Load Wavetable reads (default silent)\n"
    "  --float           write 32-bit float frames exactly as computed\n"
    "  --export-2048     write as Export 2048 Wavetable does\n"
    "\n"
    "The README's sections on formulas and scripts list the names, operators,\n"
    "functions and helpers.\n";

namespace {

struct GenerateRequest {
    std::string out;
    std::string in;
    std::optional<std::string> wave, amplitude, phase, script;
    std::optional<int32_t> frames, samples;
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
         TextOption("--script", r.script),
         NumberOption("--frames", 1, ScriptMaxFrames, true, r.frames),
         {"--samples",
          [&](const std::string& v) {
              const std::optional<int> samples = ParseWhole(v, 32, ScriptMaxSamples);
              if (!samples || SampleCountCode(*samples) == 0) return false;
              r.samples = *samples;
              return true;
          }},
         NumberOption("--from", 1, FrameCount, true, r.from),
         NumberOption("--to", 1, FrameCount, true, r.to),
         {"--in", [&](const std::string& v) { return !(r.in = v).empty(); }},
         {"--float", [&](const std::string&) { return r.asFloat = true; }, true},
         {"--export-2048", [&](const std::string&) { return r.export2048 = true; }, true}},
        {&r.out},
        "wants one output file"};
    const int status = ReadCommandLine(argc, argv, 2, syntax);
    if (status >= 0) return status;
    if (int(r.wave.has_value()) + int(r.amplitude.has_value()) + int(r.script.has_value()) != 1)
        return CommandMisused(GenerateUsage, "wants one of --formula, --harmonics and --script");
    if ((r.frames || r.samples) && !r.script)
        return CommandMisused(GenerateUsage, "--frames and --samples want --script");
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

bool Failed(const std::string& line) {
    CommandFailed(line);
    return false;
}

// Computes the range from the formula or the script; false after the failure
// line. `note` tells of the values that became 0.
bool ComputeRange(const GenerateRequest& r, float* table, int lo, int hi, std::string& note) {
    if (!r.script) {
        const Formula formula = RequestedFormula(r);
        const FormulaOutcome outcome = ApplyFormula(formula, table, lo, hi);
        if (!outcome.error.empty()) return Failed(outcome.error);
        note = NonFiniteNote(formula.mode, outcome.nonFinite);
        return true;
    }
    WavetableScript script;
    script.frames = ScriptFramesOfRange;
    FileError error;
    if (!ReadScriptFile(*r.script, script, error)) return Failed(FileErrorLine(error, *r.script));
    script.frames = r.frames.value_or(script.frames);
    script.samples = r.samples.value_or(script.samples);
    const ScriptOutcome outcome = ApplyScript(script, table, lo, hi);
    std::string wrong = outcome.error;
    std::replace(wrong.begin(), wrong.end(), '\n', ' ');
    if (!wrong.empty()) return Failed(*r.script + ": " + wrong);
    note = NonFiniteNote(FormulaMode::Wave, outcome.nonFinite);
    return true;
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
    const int lo = std::min(request.from, request.to) - 1;
    const int hi = std::max(request.from, request.to) - 1;
    std::string note;
    if (!ComputeRange(request, table.data(), lo, hi, note)) return 1;
    const std::vector<uint8_t> image =
        request.export2048 ? BuildExport2048Image(table.data())
        : request.asFloat
            ? BuildFloatTableImage(table.data())
            : BuildWavImage(table.data(), TableSamples, 44100, WavPurpose::SavedFrames,
                            lo * SamplesPerFrame, (hi + 1) * SamplesPerFrame - 1);
    if (!WriteFileReplacing(request.out, image, error)) return CommandFailed(error, request.out);
    if (!note.empty()) CommandWarns(note);
    return 0;
}
