#include "io/project_format.h"

#include <cstring>
#include <string>
#include <utility>

#include "io/byte_order.h"
#include "io/wav_format.h"
#include "platform/script_protocol.h"

namespace {

constexpr uint32_t FormatBytes = 18;
constexpr uint32_t TableBytes = TableSamples * 4;
constexpr uint32_t PadBytes = PadwaveSamples * 4;
constexpr uint32_t AdditiveBytes = SamplesPerFrame * 4;
constexpr uint16_t IeeeFloat = 3;

void PutChunkHeader(std::vector<uint8_t>& image, const char* tag, uint32_t size) {
    PutTag(image, tag);
    PutU32(image, size);
}

// Visits the record's integers after its version, in file order.
template <typename Document, typename Visit> void ForEachField(Document& d, Visit visit) {
    for (auto& knob : d.knobs) visit(knob);
    visit(d.padwaveValue);
    visit(d.padwaveTimes10);
    visit(d.polarity);
    visit(d.view);
    for (auto& level : d.harmonics) visit(level);
}

bool InRange(int32_t value, int32_t low, int32_t high) { return low <= value && value <= high; }

// The choices a window can show: knob and LED images exist for 0..99 only.
bool ChoicesValid(const ProjectDocument& d) {
    for (int32_t knob : d.knobs)
        if (!InRange(knob, 0, 99)) return false;
    return InRange(d.padwaveValue, 0, 99) && InRange(d.padwaveTimes10, 0, 1) &&
           InRange(d.polarity, 0, 1) && InRange(d.view, ViewWaveform, ViewPadwave);
}

// A mono 32-bit float "fmt " body of 16 bytes, or of 18 plus its extension.
bool FormatValid(const uint8_t* body, uint64_t length) {
    if (length != 16 && (length < FormatBytes || length != FormatBytes + GetU16(body + 16)))
        return false;
    return GetU16(body) == IeeeFloat && GetU16(body + 2) == 1 && GetU16(body + 12) == 4 &&
           GetU16(body + 14) == 32;
}

struct FoundChunk {
    const uint8_t* body = nullptr;
    uint64_t length = 0;
};

uint32_t FormulaChunkBytes(const Formula& f) {
    return static_cast<uint32_t>(4 + 4 + 3 * 4 + f.wave.size() + f.amplitude.size() +
                                 f.phase.size());
}

void PutFormulaChunk(std::vector<uint8_t>& image, const Formula& f) {
    const uint32_t length = FormulaChunkBytes(f);
    PutChunkHeader(image, "qfrm", length);
    PutU32(image, FormulaChunkVersion);
    PutU32(image, f.mode == FormulaMode::Harmonics ? 1 : 0);
    for (const std::string* text : {&f.wave, &f.amplitude, &f.phase}) {
        PutU32(image, static_cast<uint32_t>(text->size()));
        image.insert(image.end(), text->begin(), text->end());
    }
    if (length & 1) image.push_back(0);
}

// Every length within the chunk and within the dialog's limit, and nothing
// left over.
bool ParseFormulaChunk(const FoundChunk& chunk, Formula& f) {
    if (chunk.length < 8 || GetU32(chunk.body) != FormulaChunkVersion || GetU32(chunk.body + 4) > 1)
        return false;
    f.mode = GetU32(chunk.body + 4) == 1 ? FormulaMode::Harmonics : FormulaMode::Wave;
    uint64_t at = 8;
    for (std::string* text : {&f.wave, &f.amplitude, &f.phase}) {
        if (at + 4 > chunk.length) return false;
        const uint32_t size = GetU32(chunk.body + at);
        at += 4;
        if (size > FormulaMaxLength || at + size > chunk.length) return false;
        text->assign(reinterpret_cast<const char*>(chunk.body + at), size);
        at += size;
    }
    return at == chunk.length;
}

uint32_t ScriptChunkBytes(const WavetableScript& s) {
    return static_cast<uint32_t>(4 * 4 + s.lua.size());
}

void PutScriptChunk(std::vector<uint8_t>& image, const WavetableScript& s) {
    const uint32_t length = ScriptChunkBytes(s);
    PutChunkHeader(image, "qlua", length);
    for (int32_t field : {int32_t(ScriptChunkVersion), s.frames, s.samples, int32_t(s.lua.size())})
        PutU32(image, static_cast<uint32_t>(field));
    image.insert(image.end(), s.lua.begin(), s.lua.end());
    if (length & 1) image.push_back(0);
}

bool ParseScriptChunk(const FoundChunk& chunk, WavetableScript& s) {
    if (chunk.length < 16 || GetU32(chunk.body) != ScriptChunkVersion) return false;
    const uint32_t frames = GetU32(chunk.body + 4), samples = GetU32(chunk.body + 8);
    const uint32_t size = GetU32(chunk.body + 12);
    if (frames > ScriptMaxFrames || samples < ScriptMinSamples || samples > ScriptMaxSamples ||
        size > ScriptMaxBytes || chunk.length != 16 + uint64_t{size})
        return false;
    s.frames = static_cast<int32_t>(frames);
    s.samples = static_cast<int32_t>(samples);
    s.lua.assign(reinterpret_cast<const char*>(chunk.body + 16), size);
    return true;
}

} // namespace

std::vector<uint8_t> BuildProjectImage(const ProjectDocument& document) {
    const uint32_t formulaBytes = FormulaChunkBytes(document.formula);
    const uint32_t scriptBytes = ScriptChunkBytes(document.script);
    const uint32_t chunkBytes = (8 + 8) + (8 + TableBytes) + (8 + ProjectRecordBytes) +
                                (8 + PadBytes) + (8 + AdditiveBytes) +
                                (8 + formulaBytes + (formulaBytes & 1)) +
                                (8 + scriptBytes + (scriptBytes & 1));
    std::vector<uint8_t> image;
    image.reserve(FloatHeaderBytes + chunkBytes);
    PutFloatHeader(image, 1, 44100, TableSamples, chunkBytes);
    PutChunkHeader(image, "srge", 8);
    PutU32(image, 1); // version
    PutU32(image, SamplesPerFrame);
    PutChunkHeader(image, "data", TableBytes);
    PutFloatBits(image, document.table.data(), TableSamples);
    PutChunkHeader(image, "qarn", ProjectRecordBytes);
    PutU32(image, ProjectVersion);
    ForEachField(document, [&](int32_t field) { PutU32(image, static_cast<uint32_t>(field)); });
    PutChunkHeader(image, "qpad", PadBytes);
    PutFloatBits(image, document.pad.data(), PadwaveSamples);
    PutChunkHeader(image, "qadd", AdditiveBytes);
    PutFloatBits(image, document.additive.data(), SamplesPerFrame);
    PutFormulaChunk(image, document.formula);
    PutScriptChunk(image, document.script);
    return image;
}

// A file is cut off when its RIFF size or a chunk's size reaches past its end;
// without a "qarn" chunk only a cut-off file may still have been a project.
ProjectStatus ParseProject(const uint8_t* data, size_t size, ProjectDocument& document) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return ProjectStatus::NotProject;
    bool cut = uint64_t{GetU32(data + 4)} + 8 > size;
    FoundChunk format, table, record, pad, additive, formula, script;
    const std::pair<const char*, FoundChunk*> known[] = {
        {"fmt ", &format},   {"data", &table},   {"qarn", &record}, {"qpad", &pad},
        {"qadd", &additive}, {"qfrm", &formula}, {"qlua", &script},
    };
    for (uint64_t at = 12; at < size;) {
        const uint64_t length = at + 8 <= size ? GetU32(data + at + 4) : 0;
        if (at + 8 + length > size) {
            cut = true;
            break;
        }
        for (const auto& [tag, found] : known)
            if (found->body == nullptr && std::memcmp(data + at, tag, 4) == 0)
                *found = {data + at + 8, length};
        at += 8 + length + (length & 1);
    }
    if (record.body == nullptr) return cut ? ProjectStatus::Damaged : ProjectStatus::NotProject;
    if (cut || format.body == nullptr || !FormatValid(format.body, format.length) ||
        table.length != TableBytes || record.length != ProjectRecordBytes ||
        GetU32(record.body) != ProjectVersion || pad.length != PadBytes ||
        additive.length != AdditiveBytes)
        return ProjectStatus::Damaged;
    const uint8_t* field = record.body + 4;
    ForEachField(document, [&](int32_t& value) {
        value = static_cast<int32_t>(GetU32(field));
        field += 4;
    });
    if (!ChoicesValid(document)) return ProjectStatus::Damaged;
    document.formula = Formula();
    if (formula.body != nullptr && !ParseFormulaChunk(formula, document.formula))
        return ProjectStatus::Damaged;
    document.script = WavetableScript();
    if (script.body != nullptr && !ParseScriptChunk(script, document.script))
        return ProjectStatus::Damaged;
    GetFloatBits(table.body, document.table.data(), TableSamples);
    GetFloatBits(pad.body, document.pad.data(), PadwaveSamples);
    GetFloatBits(additive.body, document.additive.data(), SamplesPerFrame);
    return ProjectStatus::Ok;
}
