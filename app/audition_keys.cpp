#include "app/audition_keys.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "app/live_audition.h"
#include "core/menus.h"
#include "platform/audition_events.h"
#include "platform/common/text_parse.h"

namespace {

// The note each held key plays (-1: none), and the note of the A key.
constexpr char NoteKeys[] = "awsedftgyhujkolp;'";
constexpr int LowestBase = 24;  // C1
constexpr int HighestBase = 96; // C7
constexpr int MiddleC = 60;
constexpr uint8_t KeyVelocity = 100;
int KeyNote[256];
int BaseNote = MiddleC;
bool OctaveKeyDown[2] = {false, false}; // Z, X

void ClearKeys() { std::fill(std::begin(KeyNote), std::end(KeyNote), -1); }

// The lower-case character of a key code, or -1 for one outside a byte.
int KeySlot(int key) { return key >= 0 && key < 256 ? key : -1; }

} // namespace

void ResetAuditionKeys() {
    BaseNote = MiddleC;
    OctaveKeyDown[0] = OctaveKeyDown[1] = false;
    ClearKeys();
}

bool AuditionKeyDown(WindowHandle window, int key) {
    const int slot = KeySlot(key);
    if (slot < 0) return false;
    if (key == 'z' || key == 'x') {
        bool& down = OctaveKeyDown[key == 'x'];
        if (!down) {
            BaseNote = std::clamp(BaseNote + (key == 'x' ? 12 : -12), LowestBase, HighestBase);
            BuildMenuBar(window); // the Keys line names the new octave
        }
        down = true;
        return true;
    }
    const char* place = key != 0 ? std::strchr(NoteKeys, key) : nullptr;
    if (place == nullptr) return false;
    if (KeyNote[slot] >= 0) return true; // the key repeats while held
    if (!EnsureAuditionOutput(window)) return true;
    const int note = BaseNote + static_cast<int>(place - NoteKeys);
    KeyNote[slot] = note;
    SyncAuditionMode(); // an output opened just now has no mode yet
    SendAuditionEvent(NoteOnEvent(static_cast<uint8_t>(note), KeyVelocity));
    return true;
}

std::string AuditionKeysLabel(CommandId) {
    const int highest = BaseNote + static_cast<int>(std::size(NoteKeys)) - 2;
    return "Keys: " + NoteName(BaseNote) + "\u2013" + NoteName(highest);
}

void AuditionKeyUp(int key) {
    const int slot = KeySlot(key);
    if (slot < 0) return;
    if (key == 'z' || key == 'x') OctaveKeyDown[key == 'x'] = false;
    if (KeyNote[slot] < 0) return;
    SendAuditionEvent(NoteOffEvent(static_cast<uint8_t>(KeyNote[slot])));
    KeyNote[slot] = -1;
}

void ReleaseAuditionKeys() {
    for (int key = 0; key < 256; ++key) AuditionKeyUp(key);
    OctaveKeyDown[0] = OctaveKeyDown[1] = false;
}

void SilenceAudition() {
    ClearKeys();
    SendAuditionEvent(MakeAuditionEvent(AuditionEventType::AllSoundOff));
}
