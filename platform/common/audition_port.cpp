#include "platform/common/audition_port.h"

#include <atomic>

namespace {

// One producer, one consumer: the producer owns `tail`, the consumer `head`;
// each publishes its index with release order after touching the slot.
struct EventQueue {
    AuditionEvent slots[AuditionQueueCapacity];
    std::atomic<uint32_t> head{0};
    std::atomic<uint32_t> tail{0};
};

EventQueue Queues[2];
AuditionHooks Hooks = {};
std::atomic<const AuditionMaterial*> Published{nullptr};
std::atomic<uint64_t> Blocks{0};

EventQueue& QueueOf(AuditionSender sender) { return Queues[sender == AuditionSender::Gui ? 0 : 1]; }

void Drain(EventQueue& queue) {
    uint32_t head = queue.head.load(std::memory_order_relaxed);
    const uint32_t tail = queue.tail.load(std::memory_order_acquire);
    for (; head != tail; ++head) Hooks.apply(queue.slots[head % AuditionQueueCapacity]);
    queue.head.store(head, std::memory_order_release);
}

} // namespace

void AuditionPortInstall(const AuditionHooks& hooks) { Hooks = hooks; }

void AuditionPortStart(float sampleRate) {
    for (EventQueue& queue : Queues)
        queue.head.store(queue.tail.load(std::memory_order_acquire), std::memory_order_release);
    if (Hooks.reset) Hooks.reset(sampleRate);
}

bool AuditionPortSend(AuditionSender sender, const AuditionEvent& event) {
    EventQueue& queue = QueueOf(sender);
    const uint32_t tail = queue.tail.load(std::memory_order_relaxed);
    if (tail - queue.head.load(std::memory_order_acquire) >= AuditionQueueCapacity) return false;
    queue.slots[tail % AuditionQueueCapacity] = event;
    queue.tail.store(tail + 1, std::memory_order_release);
    return true;
}

// A block that had read the replaced material ends with one more count; the
// ticket asks for two, so that block has surely ended.
uint64_t AuditionPortPublish(const AuditionMaterial* material) {
    Published.exchange(material, std::memory_order_acq_rel);
    return Blocks.load(std::memory_order_acquire) + 2;
}

bool AuditionPortRetired(uint64_t ticket) {
    return Blocks.load(std::memory_order_acquire) >= ticket;
}

void AuditionPortRender(float* out, int frames) {
    if (!Hooks.render) {
        for (int i = 0; i < 2 * frames; ++i) out[i] = 0.0f;
        return;
    }
    for (EventQueue& queue : Queues) Drain(queue);
    Hooks.render(Published.load(std::memory_order_acquire), out, frames);
    Blocks.fetch_add(1, std::memory_order_acq_rel);
}
