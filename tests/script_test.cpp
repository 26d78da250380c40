// Script...: Surge XT's API run apart from the editor, the helpers, the placement into the range,
// the sandbox's limits, .wtscript files and generate --script.

#include <chrono>
#include <cmath>

#include "app/command_line.h"
#include "io/wtscript_file.h"
#include "platform/script_process.h"
#include "synth/script_frames.h"
#include "tests/file_helpers.h"
#include "tests/reference/double_dft.h"

namespace {

const bool RunnerFound = (ScriptRunnerPath = QARNO_SCRIPT_RUNNER, true);

WavetableScript Script(const std::string& lua, int32_t frames, int32_t samples = 1024) {
    return {lua, frames, samples};
}

// frame k: harmonics 1 .. k at 2/(pi n), scaled by the state init made.
const char Saw[] = R"lua(
function init(wt) return { frame_count = wt.frame_count, gain = 1 } end
function generate(wt)
    local res = {}
    for i = 1, wt.sample_count do
        local v = 0
        for n = 1, wt.frame do v = v + wt.gain * 2 / (pi * n) * sin(2 * pi * n * (i - 1) / wt.sample_count) end
        res[i] = v
    end
    return res
end)lua";

// Frame k of 50 at 512 samples: k sin(x + k/10) with DC and the Nyquist bin, which band-limiting
// drops.
const char Steps[] = R"lua(
function generate(wt)
    local res = {}
    for i = 1, wt.sample_count do
        res[i] = wt.frame * sin(2 * pi * (i - 1) / wt.sample_count + wt.frame / 10) + 0.25 + 0.5 * (-1) ^ i
    end
    return res
end)lua";

} // namespace

// 100 frames of the Fourier saw: frame k holds harmonics 1 .. k at 2/(pi n) and nothing else, so
// wt.frame ran 1 .. 100 in order and init's state reached every call.
TEST(Scripts, FourierSawHarmonicsFrameByFrame) {
    std::vector<float> table(TableSamples);
    const ScriptOutcome outcome = ApplyScript(Script(Saw, 100), table.data(), 0, 99);
    ASSERT_EQ(outcome.error, "");
    for (int k = 1; k <= 100; ++k) {
        const DoubleSpectrum bins = DoubleDft(ToDouble(table.data() + (k - 1) * 1024, 1024), 512);
        for (int n = 0; n < 512; ++n)
            ASSERT_NEAR(std::abs(bins[n]) * 2 / 1024, n >= 1 && n <= k ? 2 / (M_PI * n) : 0, 1e-5)
                << "frame " << k << " harmonic " << n;
    }
}

// Pulses of the widths asked: frame k of 8 is high for k/8 of the cycle's samples.
TEST(Scripts, PulseWidthsAsAsked) {
    std::vector<float> table(TableSamples);
    const char pulse[] =
        "function generate(wt) local r = {} for i = 1, wt.sample_count do "
        "r[i] = (i <= wt.sample_count * wt.frame / 9) and 1 or -1 end return r end";
    ASSERT_EQ(ApplyScript(Script(pulse, 8), table.data(), 40, 47).error, "");
    for (int k = 1; k <= 8; ++k) {
        const float* f = table.data() + (39 + k) * 1024;
        const float middle = (*std::max_element(f, f + 1024) + *std::min_element(f, f + 1024)) / 2;
        EXPECT_NEAR(std::count_if(f, f + 1024, [&](float v) { return v > middle; }), 1024 * k / 9.0,
                    1.5)
            << k;
    }
}

// The helpers at their edges, each value as the script returns it.
TEST(Scripts, HelpersAtTheirEdges) {
    const std::pair<const char*, double> cases[] = {
        {"math.linspace(0.1, 0.3, 7)[1] == 0.1 and 1", 1},
        {"math.linspace(0.1, 0.3, 7)[7] == 0.3 and 1", 1},
        {"#math.linspace(0, 1, 1)", 1},
        {"math.logspace(0, 2, 3)[3]", 100},
        {"#surge.mod.normalize_peaks({0, 0, 0})", 3},
        {"surge.mod.normalize_peaks({0, 0, 0})[2]", 0},
        {"surge.mod.normalize_peaks({-4, 2})[1]", -1},
        {"math.sign(0)", 1},
        {"math.sgn(0)", 0},
        {"math.sign(-0.5)", -1},
        {"math.parity(-3)", 1},
        {"math.parity(-2)", 0},
        {"math.parity(7)", 1},
        {"math.cumsum({1, 2, 3})[3]", 6},
        {"math.cumprod({2, 3, 4})[3]", 24},
        {"math.maxAbsFromTable({-3, 2})", 3},
        {"math.sinc(0)", 1},
        {"math.sinc(1)", 0},
        {"math.note_to_freq(57)", 220},
        {"math.freq_to_note(880, 440)", 81},
        {"math.gcd(-12, 18)", 6},
        {"math.lcm(4, 6)", 12},
        {"limit_range(5, -1, 1)", 1},
        {"math.rescale(5, 0, 10, -1, 1)", 0},
        {"math.norm(3, 4)", 5},
        {"math.range(2, -3)", 5},
        {"floor(pow(2, 3) + abs(-0.5))", 8},
        {"unpack({7})", 7}};
    std::string lua = "local v = {";
    for (const auto& c : cases) lua += std::string(c.first) + ", ";
    lua += "} function generate(wt) return v end";
    const ScriptAnswer answer = RunScriptProcess({lua, 1, std::size(cases)});
    ASSERT_EQ(answer.error, "");
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_NEAR(answer.values[i], cases[i].second, 1e-6) << cases[i].first;
}

// 50 frames of 512 samples into 100: each brought to 1024 samples without its DC and Nyquist
// bin, then crossfaded sample by sample: frame t sits at p = 49 t / 99 of the 50.
TEST(Scripts, FramesBandLimitedAndPlacedAcrossTheRange) {
    std::vector<float> table(TableSamples);
    ASSERT_EQ(ApplyScript(Script(Steps, 50, 512), table.data(), 0, 99).error, "");
    const auto frame = [](double k, int i) { return k * std::sin(2 * M_PI * i / 1024 + k / 10); };
    for (int t = 0; t < 100; ++t) {
        const double p = 49.0 * t / 99, u = p - std::floor(p), k = std::floor(p) + 1;
        for (int i = 0; i < 1024; i += 31)
            ASSERT_NEAR(table[t * 1024 + i], (1 - u) * frame(k, i) + u * frame(k + 1, i), 2e-5)
                << t << " " << i;
    }
}

// Each way out of the sandbox, each limit and a crash fails with its message within 6 s: no
// file made, the table and the undo snapshot as they were; OK then takes a good script once, and
// non-numbers become 0 and are told.
TEST(ScriptDialog, SandboxRefusesAndLimitsHoldThenOkWrites) {
    ScratchFolder folder;
    const std::string file = folder.File("made");
    const std::pair<std::string, std::string> cases[] = {
        {"io.open('" + file + "', 'w')", "line 1: attempt to index global 'io' (a nil value)"},
        {"os.execute('touch " + file + "')", "line 1: attempt to index global 'os' (a nil value)"},
        {"local ffi = require('ffi')", "line 1: attempt to call global 'require' (a nil value)"},
        {"ffi.new('int[1]')", "line 1: attempt to index global 'ffi' (a nil value)"},
        {"\n\nx = string.dump(print)", "line 3: attempt to call field 'dump' (a nil value)"},
        {"assert(loadstring('\\27LJ\\2\\0'))", "line 1: attempt to load chunk with wrong mode"},
        {"while true do end", "the script ran longer than 5 s"},
        {"local t = {} for i = 1, 1e9 do t[i] = {i} end", "the script used more than 256 MB"},
        {"local function f(s) return (string.gsub(s, '.', f)) end f('x')",
         "the script interpreter crashed (Segmentation fault)"}};
    FreshEditor();
    WavetableKnobs(30, 20);
    FillTableWithIndices();
    UndoSnapshot[7] = 123.0f;
    for (const auto& [lua, message] : cases) {
        HeadlessScriptAnswers = {HeadlessScriptAnswer{Script(lua, 11)}, std::nullopt};
        const auto start = std::chrono::steady_clock::now();
        Command(CmdScript);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6)) << lua;
        EXPECT_EQ(HeadlessScriptDialogs.back().refusals, std::vector<std::string>{message});
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(TableHoldsIndicesOutside(FrameCount, -1));
    EXPECT_EQ(UndoSnapshot[7], 123.0f);
    const char huge[] = "function generate(wt) local r = {} for i = 1, wt.sample_count do "
                        "r[i] = (i == 5) and 1/0 or 0 end return r end";
    HeadlessScriptAnswers = {HeadlessScriptAnswer{Script(huge, 1, 32)}};
    Command(CmdScript);
    EXPECT_EQ(HeadlessScriptDialogs.back().notice, "1 sample was not a number and became 0");
    EXPECT_TRUE(TableHoldsIndicesOutside(20, 30));
    EXPECT_TRUE(AllZero(FrameAt(20), FrameAt(31)));
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(FrameCount, -1));
}

// A .wtscript file round trips, Open reads it into the dialog, and every bad file is refused
// with what is wrong; generate --script runs it from the command line.
TEST(ScriptFiles, RoundTripRefusalsAndGenerate) {
    ScratchFolder folder;
    const WavetableScript script = Script("-- \"<&>\"\n" + std::string(Saw), 9, 256);
    const std::vector<uint8_t> image = BuildWtscriptImage(script);
    WriteBytes(folder.File("saw.wtscript"), image);
    const auto xml = [](const std::string& attributes) {
        const std::string text = "<?xml version=\"1.0\"?><wtscript><snapshots><s/></snapshots>"
                                 "<script " +
                                 attributes + "/></wtscript>";
        return std::vector<uint8_t>(text.begin(), text.end());
    };
    const std::pair<std::vector<uint8_t>, std::string> bad[] = {
        {{'x'}, "not a wavetable script file"},
        {std::vector<uint8_t>(image.begin(), image.end() - 4), "not a wavetable script file"},
        {xml("lua=\"eA==\" frames=\"2\" samples=\"3\"></wtscript"), "not a wavetable script file"},
        {xml("lua=\"eA=x\" frames=\"2\" samples=\"3\""), "bad base64 in the script"},
        {xml("lua=\"e\" frames=\"2\" samples=\"3\""), "bad base64 in the script"},
        {xml("lua=\"eA==\" frames=\"513\" samples=\"3\""), "the frame count is not 1 to 512"},
        {xml("lua=\"eA==\" frames=\"2\" samples=\"9\""), "the sample count code is not 1 to 8"}};
    for (const auto& [bytes, wrong] : bad) {
        WavetableScript read = Script("kept", 3);
        std::string said;
        EXPECT_FALSE(ParseWtscript(bytes.data(), bytes.size(), read, said));
        EXPECT_EQ(said + read.lua, wrong + "kept");
    }
    WriteBytes(folder.File("bad.wtscript"), bad[3].first);
    FreshEditor();
    WavetableKnobs(9, 0);
    HeadlessDialogAnswers = {folder.File("bad.wtscript"), folder.File("saw.wtscript")};
    HeadlessScriptAnswers = {HeadlessScriptAnswer{Script("", 1), true},
                             HeadlessScriptAnswer{Script("", 1), true}};
    Command(CmdScript);
    EXPECT_EQ(ErrorTexts(),
              std::vector<std::string>{"bad base64 in the script\n" + folder.File("bad.wtscript")});
    EXPECT_EQ(HeadlessScriptDialogs.back().offered.frames, 10); // the range's count
    EXPECT_TRUE(CurrentScript.lua == script.lua && CurrentScript.frames == 9 &&
                CurrentScript.samples == 256);
    std::vector<std::string> args = {"qarno-wavetable-maker",
                                     "generate",
                                     folder.File("o.wav"),
                                     "--script",
                                     folder.File("saw.wtscript"),
                                     "--to",
                                     "10",
                                     "--float"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    ASSERT_EQ(FindCommandLineRow(8, argv.data())->run(8, argv.data()), 0);
    const std::vector<float> written = ReadWithSndfile(folder.File("o.wav")).samples;
    EXPECT_TRUE(std::equal(Wavetable, Wavetable + 10 * 1024, written.begin()));
    EXPECT_GT(std::abs(Wavetable[9 * 1024 + 100]), 0.1f);
}
