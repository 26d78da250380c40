#include "app/live_audition.h"

#include <algorithm>

#include "app/audition_keys.h"
#include "core/command_ids.h"
#include "core/editor_state.h"
#include "synth/audition.h"

namespace {

// The audio thread's engine: touched only through the hooks, on that thread
// (and by `reset` before the output runs).
AuditionEngine Engine;

void ResetEngine(float sampleRate) { AuditionReset(Engine, sampleRate); }
void ApplyToEngine(const AuditionEvent& event) { AuditionApply(Engine, event); }
void RenderEngine(const AuditionMaterial* material, float* out, int frames) {
    AuditionRender(Engine, material, out, frames);
}

// The published material; it knows the samples it was built from.
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

// What the notes play in place of the document's table, or nullptr.
const float* Substitute = nullptr;

// The play mode the engine has received; ModeSent only once one reached it.
AuditionPlayMode SentMode;
bool ModeSent = false;

// The output is asked for once; a failure is told once.
bool OutputTried = false;
bool OutputOpen = false;

std::string MidiLabel = "MIDI: not available";

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
    const float* table = Substitute ? Substitute : Wavetable;
    if (AuditionMaterialMatches(Current, table, AdditiveFrame, PadwaveBuffer)) return;
    // While every slot waits for the audio thread the rebuild waits too: the
    // samples still differ at the next message.
    if (RetiredCount == RetiredCapacity) return;
    AuditionMaterial* built = BuildAuditionMaterial(table, AdditiveFrame, PadwaveBuffer, Current);
    if (!built) return; // out of memory: the notes keep the last material
    const uint64_t ticket = PublishAuditionMaterial(built);
    if (Current) Retired[RetiredCount++] = {Current, ticket};
    Current = built;
}

// The Sweep Time items' seconds, in menu order from CmdSweepHalfSecond.
constexpr float SweepChoices[] = {0.5f, 1.0f, 2.0f, 4.0f, 8.0f};

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
    ResetAuditionKeys();
}

void UpdateLiveAudition() {
    FreeReleased();
    RebuildIfChanged();
    SyncAuditionMode();
}

bool AskWithPreview(WindowHandle window, float* preview, const std::function<bool()>& ask) {
    std::copy(Wavetable, Wavetable + TableSamples, preview);
    Substitute = preview;
    const bool taken = ask();
    ListenToPreview(window, false);
    Substitute = nullptr;
    return taken;
}

const AuditionMaterial* LiveAuditionMaterial() { return Current; }

void ListenToPreview(WindowHandle window, bool on) {
    constexpr uint8_t ListenNote = 57; // A3
    constexpr uint8_t ListenVelocity = 100;
    static bool listening = false;
    if (on == listening) return;
    if (!on) {
        SendAuditionEvent(NoteOffEvent(ListenNote));
        listening = false;
        return;
    }
    if (!EnsureAuditionOutput(window)) return;
    UpdateLiveAudition();
    listening = SendAuditionEvent(NoteOnEvent(ListenNote, ListenVelocity));
}

void SyncAuditionMode() {
    const AuditionPlayMode mode = ModeOfView();
    if (ModeSent && SameMode(mode, SentMode)) return;
    if (!SendAuditionEvent(PlayModeEvent(mode))) return;
    SentMode = mode;
    ModeSent = true;
}

bool EnsureAuditionOutput(WindowHandle window) {
    if (OutputTried) return OutputOpen;
    OutputTried = true;
    std::string reason;
    OutputOpen = OpenAuditionOutput(reason);
    if (!OutputOpen) ShowMessageBox(window, reason, "Error");
    return OutputOpen;
}

void ChooseSweepTime(WindowHandle, CommandId id) {
    SweepSeconds = SweepChoices[id - CmdSweepHalfSecond];
}

bool SweepTimeChecked(CommandId id) {
    return SweepSeconds == SweepChoices[id - CmdSweepHalfSecond];
}

std::string MidiStatusLabel(CommandId) { return MidiLabel; }

void StartMidiInput() {
    const std::string name = OpenMidiInput();
    if (name.empty()) return;
    MidiLabel = "MIDI: " + name;
    // MIDI notes need the output running; one that cannot open is told at the
    // first key's note.
    std::string reason;
    OpenAuditionOutput(reason);
}
