#include "core/history.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <deque>
#include <memory>
#include <new>
#include <vector>

#include "core/editor_state.h"

size_t HistoryMaxEntries = 1000;
size_t HistoryMaxBytes = size_t{256} << 20;

namespace {

size_t Bytes = 0;

// The samples one step stored: the frames it changed, side by side, or its
// pad. It counts itself in Bytes while it lives, that is while an entry still
// points into it. Its pages are mapped filled in: touched one by one, fresh
// pages cost a fault each, half the time of a whole-table step.
struct Slab {
    explicit Slab(size_t count) : bytes(count * sizeof(float)) {
        void* at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (at == MAP_FAILED) throw std::bad_alloc();
        samples = static_cast<float*>(at);
        Bytes += bytes;
    }
    ~Slab() {
        munmap(samples, bytes);
        Bytes -= bytes;
    }
    Slab(const Slab&) = delete;
    Slab& operator=(const Slab&) = delete;
    float* samples;
    size_t bytes;
};
// A frame or a pad in a slab, keeping the slab alive.
using Samples = std::shared_ptr<const float>;

// An entry with its document; frames and pads are shared with the entries
// whose steps left them as they were.
struct Stored {
    HistoryRow shown;
    std::array<Samples, FrameCount> frames;
    std::array<int32_t, HarmonicCount> levels;
    Samples pad;
};

std::deque<Stored> Entries; // oldest first

size_t EntryBytes(const Stored& e) {
    return sizeof(Stored) + e.shown.label.capacity() + e.shown.time.capacity() +
           e.shown.changes.capacity();
}

bool Equal(const float* a, const float* b, int count) {
    return a == b || std::memcmp(a, b, count * sizeof(float)) == 0;
}

// `count` samples from each of `sources` copied into one new slab.
std::vector<Samples> Stash(const std::vector<const float*>& sources, int count) {
    std::vector<Samples> stashed;
    if (sources.empty()) return stashed;
    auto slab = std::make_shared<Slab>(sources.size() * count);
    for (size_t i = 0; i < sources.size(); ++i) {
        float* to = slab->samples + i * count;
        std::copy_n(sources[i], count, to);
        stashed.emplace_back(slab, to);
    }
    return stashed;
}

std::string NowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// Frames as the LEDs count them, 1..100.
std::string FramesText(int first, int last) {
    if (first == last) return "frame " + std::to_string(first + 1);
    return "frames " + std::to_string(first + 1) + "\u2013" + std::to_string(last + 1);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

// The document as an entry, sharing what has not changed since `newest`.
Stored Capture(const Stored* newest) {
    Stored entry;
    std::vector<int> changed;
    for (int k = 0; k < FrameCount; ++k) {
        const float* frame = Wavetable + k * SamplesPerFrame;
        if (newest && Equal(newest->frames[k].get(), frame, SamplesPerFrame))
            entry.frames[k] = newest->frames[k];
        else
            changed.push_back(k);
    }
    std::vector<const float*> sources;
    for (int k : changed) sources.push_back(Wavetable + k * SamplesPerFrame);
    const std::vector<Samples> stashed = Stash(sources, SamplesPerFrame);
    for (size_t i = 0; i < changed.size(); ++i) entry.frames[changed[i]] = stashed[i];
    std::copy_n(Harmonics, HarmonicCount, entry.levels.begin());
    const bool padKept = newest && Equal(newest->pad.get(), PadwaveBuffer, PadwaveSamples);
    entry.pad = padKept ? newest->pad : Stash({PadwaveBuffer}, PadwaveSamples)[0];
    return entry;
}

// What `entry` changed from `before`: "frames 11–21", "harmonics", "pad".
std::string Changes(const Stored& entry, const Stored& before) {
    int first = -1, last = -1;
    for (int k = 0; k < FrameCount; ++k) {
        if (Equal(entry.frames[k].get(), before.frames[k].get(), SamplesPerFrame)) continue;
        first = first < 0 ? k : first;
        last = k;
    }
    std::vector<std::string> changes;
    if (first >= 0) changes.push_back(FramesText(first, last));
    if (entry.levels != before.levels) changes.push_back("harmonics");
    if (!Equal(entry.pad.get(), before.pad.get(), PadwaveSamples)) changes.push_back("pad");
    return Joined(changes);
}

// Drops the oldest entry; the slabs that no other entry points into go with it.
void DropOldest() {
    Bytes -= EntryBytes(Entries.front());
    Entries.pop_front();
}

void Add(Stored entry, const std::string& label) {
    entry.shown.label = label;
    entry.shown.time = NowText();
    Bytes += EntryBytes(entry);
    Entries.push_back(std::move(entry));
    while (Entries.size() > 1 && (Entries.size() > HistoryMaxEntries || Bytes > HistoryMaxBytes))
        DropOldest();
}

// Adds `entry` as the newest unless it holds the newest one's document.
bool AddIfChanged(Stored entry, const std::string& label) {
    entry.shown.changes = Changes(entry, Entries.back());
    if (entry.shown.changes.empty()) return false;
    Add(std::move(entry), label);
    return true;
}

const Stored& StoredAt(int number) { return Entries[Entries.size() - number]; }

} // namespace

void StartHistory() {
    Entries.clear();
    Bytes = 0;
    Add(Capture(nullptr), "Start");
}

// Out of memory, the step goes unrecorded rather than ending the editor. A
// program that never started the history (the renderer, the benchmarks)
// records nothing.
bool RecordHistory(const std::string& label) {
    if (Entries.empty()) return false;
    try {
        return AddIfChanged(Capture(&Entries.back()), label);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int HistoryCount() { return static_cast<int>(Entries.size()); }

const HistoryRow& HistoryEntryAt(int number) { return StoredAt(number).shown; }

void ShowHistoryEntry(int number) {
    const Stored& entry = StoredAt(number);
    for (int k = 0; k < FrameCount; ++k)
        std::copy_n(entry.frames[k].get(), SamplesPerFrame, Wavetable + k * SamplesPerFrame);
    std::copy(entry.levels.begin(), entry.levels.end(), Harmonics);
    std::copy_n(entry.pad.get(), PadwaveSamples, PadwaveBuffer);
}

void RestoreHistoryEntry(int number) {
    const std::string label = "Back to: " + HistoryEntryAt(number).label;
    TakeUndoSnapshot();
    ShowHistoryEntry(number);
    AddIfChanged(StoredAt(number), label); // sharing all its blocks
}

size_t HistoryBytes() { return Bytes; }
