#include "app/live_audition.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/command_ids.h"
#include "core/editor_state.h"
#include "synth/audition.h"

float SweepSeconds = 2.0f;
char MidiMenuLabel[80] = "MIDI: not available";

namespace {

// The audio thread's engine: touched only through the hooks, on that thread
// (and by `reset` before the output runs).
AuditionEngine Engine;

void ResetEngine(float sampleRate) { AuditionReset(Engine, sampleRate); }
void ApplyToEngine(const AuditionEvent& event) { AuditionApply(Engine, event); }
void RenderEngine(const AuditionMaterial* material, float* out, int frames) {
    AuditionRender(Engine, material, out, frames);
}

// The samples the published material was built from, to tell when a rebuild
// is due.
float BuiltTable[TableSamples];
float BuiltAdditive[SamplesPerFrame];
float BuiltPad[PadwaveSamples];
AuditionMaterial* Current = nullptr;
// Replaced materials, each with the ticket after which the audio thread no
// longer reads it. A plain array: what is still waiting at exit stays
// reachable, as the audio thread may still be reading it.
struct RetiredMaterial {
    AuditionMaterial* material;
    uint64_t ticket;
};
constexpr int RetiredCapacity = 16;
RetiredMaterial Retired[RetiredCapacity];
int RetiredCount = 0;

AuditionPlayMode SentMode;
bool ModeSent = false;

// The computer keys: the note each held key plays (-1: none), and the note of
// the A key, C4 at first.
constexpr char NoteKeys[] = "awsedftgyhujkolp;'";
constexpr int LowestBase = 24;  // C1
constexpr int HighestBase = 96; // C7
constexpr uint8_t KeyVelocity = 100;
int KeyNote[256];
int BaseNote = 60;
bool OctaveKeyDown[2] = {false, false}; // Z, X
// The output is asked for once; a failure is told once.
bool OutputTried = false;
bool OutputOpen = false;

bool SameSamples(const float* a, const float* b, int count) {
    return std::memcmp(a, b, sizeof(float) * static_cast<size_t>(count)) == 0;
}

bool SameMode(const AuditionPlayMode& a, const AuditionPlayMode& b) {
    return a.source == b.source && a.from == b.from && a.to == b.to && a.seconds == b.seconds &&
           a.pingPong == b.pingPong;
}

// What a note plays in the current view.
AuditionPlayMode ModeOfView() {
    AuditionPlayMode mode;
    mode.seconds = SweepSeconds;
    if (ViewMode == ViewAdditive) {
        mode.source = AuditionSource::Additive;
    } else if (ViewMode == ViewPadwave) {
        mode.source = AuditionSource::Pad;
    } else if (ViewMode == ViewWavetable) {
        mode.from = static_cast<float>(std::min(CurrentFrame, OffsetFrame));
        mode.to = static_cast<float>(std::max(CurrentFrame, OffsetFrame));
        mode.pingPong = true;
    } else {
        mode.from = mode.to = static_cast<float>(CurrentFrame);
    }
    return mode;
}

void Send(AuditionEventType type, uint8_t note = 0, uint8_t value = 0) {
    AuditionEvent event{};
    event.type = type;
    event.note = note;
    event.value = value;
    SendAuditionEvent(event);
}

void SendMode(const AuditionPlayMode& mode) {
    AuditionEvent event{};
    event.type = AuditionEventType::SetPlayMode;
    event.mode = mode;
    SendAuditionEvent(event);
    SentMode = mode;
    ModeSent = true;
}

void FreeReleased() {
    int kept = 0;
    for (int i = 0; i < RetiredCount; ++i) {
        if (AuditionMaterialReleased(Retired[i].ticket))
            FreeAuditionMaterial(Retired[i].material);
        else
            Retired[kept++] = Retired[i];
    }
    RetiredCount = kept;
}

void RebuildIfChanged() {
    if (Current && SameSamples(BuiltTable, Wavetable, TableSamples) &&
        SameSamples(BuiltAdditive, AdditiveFrame, SamplesPerFrame) &&
        SameSamples(BuiltPad, PadwaveBuffer, PadwaveSamples))
        return;
    // While every slot waits for the audio thread the rebuild waits too: the
    // samples still differ at the next message.
    if (RetiredCount == RetiredCapacity) return;
    AuditionMaterial* built =
        BuildAuditionMaterial(Wavetable, AdditiveFrame, PadwaveBuffer, Current);
    if (!built) return; // out of memory: the notes keep the last material
    const uint64_t ticket = PublishAuditionMaterial(built);
    if (Current) Retired[RetiredCount++] = {Current, ticket};
    Current = built;
    std::copy_n(Wavetable, TableSamples, BuiltTable);
    std::copy_n(AdditiveFrame, SamplesPerFrame, BuiltAdditive);
    std::copy_n(PadwaveBuffer, PadwaveSamples, BuiltPad);
}

bool EnsureOutput(WindowHandle window) {
    if (OutputTried) return OutputOpen;
    OutputTried = true;
    std::string reason;
    OutputOpen = OpenAuditionOutput(reason);
    if (!OutputOpen) ShowMessageBox(window, reason, "Error");
    return OutputOpen;
}

void ClearKeys() { std::fill(std::begin(KeyNote), std::end(KeyNote), -1); }

// The Sweep Time items' seconds, in menu order from CmdSweepHalfSecond.
constexpr float SweepChoices[] = {0.5f, 1.0f, 2.0f, 4.0f, 8.0f};

// The lower-case character of a key code, or -1 for one outside a byte.
int KeySlot(int key) { return key >= 0 && key < 256 ? key : -1; }

} // namespace

void StartLiveAudition() {
    AuditionHooks hooks;
    hooks.reset = ResetEngine;
    hooks.apply = ApplyToEngine;
    hooks.render = RenderEngine;
    InstallAuditionHooks(hooks);
    OutputTried = OutputOpen = false;
    ModeSent = false;
    SweepSeconds = 2.0f;
    BaseNote = 60;
    OctaveKeyDown[0] = OctaveKeyDown[1] = false;
    ClearKeys();
}

void UpdateLiveAudition() {
    FreeReleased();
    RebuildIfChanged();
    const AuditionPlayMode mode = ModeOfView();
    if (!ModeSent || !SameMode(mode, SentMode)) SendMode(mode);
}

bool AuditionKeyDown(WindowHandle window, int key) {
    const int slot = KeySlot(key);
    if (slot < 0) return false;
    if (key == 'z' || key == 'x') {
        bool& down = OctaveKeyDown[key == 'x'];
        if (!down)
            BaseNote = std::clamp(BaseNote + (key == 'x' ? 12 : -12), LowestBase, HighestBase);
        down = true;
        return true;
    }
    const char* place = key != 0 ? std::strchr(NoteKeys, key) : nullptr;
    if (place == nullptr) return false;
    if (KeyNote[slot] >= 0) return true; // the key repeats while held
    if (!EnsureOutput(window)) return true;
    const int note = BaseNote + static_cast<int>(place - NoteKeys);
    KeyNote[slot] = note;
    SendMode(ModeOfView()); // an output opened since the last mode starts afresh
    Send(AuditionEventType::NoteOn, static_cast<uint8_t>(note), KeyVelocity);
    return true;
}

void AuditionKeyUp(int key) {
    const int slot = KeySlot(key);
    if (slot < 0) return;
    if (key == 'z' || key == 'x') OctaveKeyDown[key == 'x'] = false;
    if (KeyNote[slot] < 0) return;
    Send(AuditionEventType::NoteOff, static_cast<uint8_t>(KeyNote[slot]));
    KeyNote[slot] = -1;
}

void ReleaseAuditionKeys() {
    for (int key = 0; key < 256; ++key) AuditionKeyUp(key);
    OctaveKeyDown[0] = OctaveKeyDown[1] = false;
}

void SilenceAudition() {
    ClearKeys();
    Send(AuditionEventType::AllSoundOff);
}

void ChooseSweepTime(WindowHandle, CommandId id) {
    SweepSeconds = SweepChoices[id - CmdSweepHalfSecond];
}

bool SweepTimeChecked(CommandId id) {
    return SweepSeconds == SweepChoices[id - CmdSweepHalfSecond];
}

void StartMidiInput() {
    const std::string name = OpenMidiInput();
    if (name.empty()) return;
    std::snprintf(MidiMenuLabel, sizeof MidiMenuLabel, "MIDI: %s", name.c_str());
    // MIDI notes need the output running; one that cannot open is told at the
    // first key's note.
    std::string reason;
    OpenAuditionOutput(reason);
}
