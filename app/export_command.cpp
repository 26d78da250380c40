#include "app/export_command.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/table_exchange.h"
#include "core/editor_state.h"

const char ExportUsage[] =
    "Usage: qarno-wavetable-maker export IN OUT --for TARGET\n"
    "           [--between crossfade|spectral] [--as-is] [--name NAME] [--slot N]\n";
const char ExportOptions[] =
    "Write a wavetable in the layout another synth reads. IN is any file Import\n"
    "Wavetable reads (.wt, a WAV file of frames, a Blofeld .syx dump); a WAV file\n"
    "that names no frame size is cut at the largest of 2048, 1024, 512, 256 and 128\n"
    "samples that makes at most 256 frames. Its frames fit the table's 100.\n"
    "\n"
    "  --for TARGET   serum, surge, ableton, modwave, waveedit, wave128, blofeld, or\n"
    "                 custom:FRAMESxSAMPLES:BITS:TAG (BITS 16, 24 or float; TAG clm,\n"
    "                 srge or none; a .wt file when OUT ends in .wt), such as\n"
    "                 custom:32x2048:float:none\n"
    "  --between B    how frames between are made: crossfade (default) or spectral\n"
    "  --as-is        write the values as they are (default: the loudest sample\n"
    "                 at -0.1 dBFS)\n"
    "  --name NAME    the Blofeld's name for the table (default: OUT's name)\n"
    "  --slot N       the Blofeld's slot, 80 to 118 (default 80)\n";

namespace {

struct ExportRequest {
    std::string in;
    std::string out;
    std::string target;
    ExportChoices choices;
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Reads the command line; -1 to go on, else the exit status.
int ReadRequest(int argc, char** argv, ExportRequest& r) {
    const CommandLineSyntax syntax = {
        ExportUsage,
        ExportOptions,
        {{"--for", [&](const std::string& v) { return !(r.target = v).empty(); }},
         {"--between",
          [&](const std::string& v) {
              r.choices.between =
                  v == "spectral" ? FramesBetween::Spectral : FramesBetween::Crossfade;
              return v == "spectral" || v == "crossfade";
          }},
         {"--as-is", [&](const std::string&) { return !(r.choices.loudest = false); }, true},
         {"--name", [&](const std::string& v) { return !(r.choices.name = v).empty(); }},
         NumberOption("--slot", BlofeldFirstSlot, BlofeldLastSlot, true, r.choices.slot)},
        {&r.in, &r.out},
        "wants a table to read and a file to write"};
    const int status = ReadCommandLine(argc, argv, 2, syntax);
    if (status >= 0) return status;
    if (r.target.empty()) return CommandMisused(ExportUsage, "wants --for TARGET");
    if (!ParseTargetWord(r.target, EndsWith(r.out, ".wt"), r.choices.layout))
        return CommandMisused(ExportUsage, "bad value \"" + r.target + "\" for --for");
    return -1;
}

} // namespace

bool ParseTargetWord(const std::string& word, bool wt, ExportLayout& layout) {
    for (size_t i = 0; i < CustomTarget; ++i) {
        if (word != ExportTargets[i].word) continue;
        layout = ExportTargets[i].layout;
        return true;
    }
    unsigned frames = 0, samples = 0;
    char bits[8] = {}, tag[8] = {};
    int used = 0;
    if (std::sscanf(word.c_str(), "custom:%5ux%5u:%5[0-9a-z]:%5[a-z]%n", &frames, &samples, bits,
                    tag, &used) != 4 ||
        static_cast<size_t>(used) != word.size())
        return false;
    const std::string b = bits, t = tag;
    layout.file = wt ? TableFile::Wt : TableFile::Wav;
    layout.frames = static_cast<int32_t>(frames);
    layout.frameSize = static_cast<int32_t>(samples);
    layout.bits = b == "16" ? 16 : b == "24" ? 24 : b == "float" ? 32 : 0;
    layout.tag = t == "clm" ? FrameTag::Clm : t == "srge" ? FrameTag::Srge : FrameTag::None;
    return (t == "clm" || t == "srge" || t == "none") && CustomLayoutProblem(layout).empty();
}

int RunExportCommand(int argc, char** argv) {
    ExportRequest request;
    const int status = ReadRequest(argc, argv, request);
    if (status >= 0) return status;
    ForeignTable foreign;
    FileError error;
    if (!LoadForeignTable(request.in, foreign, error)) return CommandFailed(error, request.in);
    const int32_t frameSize =
        foreign.frameSize > 0 ? foreign.frameSize : ProposedFrameSize(foreign.samples.size());
    const std::string problem = FrameSizeProblem(foreign.samples.size(), frameSize);
    if (!problem.empty()) return CommandFailed(FileError{problem, ""}, request.in);
    std::vector<float> table(TableSamples);
    TableFromForeign(foreign, frameSize, true, request.choices.between, table.data());
    if (!WriteFileReplacing(request.out,
                            BuildExportFile(table.data(), request.choices, request.out), error))
        return CommandFailed(error, request.out);
    return 0;
}
