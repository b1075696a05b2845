#include "shell/WorkerSlots.h"

#include "platform/DebugLog.h"

namespace shell {

bool WorkerSlots::Start(int slot, std::function<void(transport::Event&)> body,
                        std::function<void()> cancelIo) {
    if (slot < 0 || slot >= kCount || m_slots[slot].thread.joinable())
        return false;
    Slot& s = m_slots[slot];
    s.stop.Reset();
    s.cancelIo = std::move(cancelIo);
    s.thread = std::thread([&s, body = std::move(body)] { body(s.stop); });
    return true;
}

bool WorkerSlots::IsRunning(int slot) const {
    return slot >= 0 && slot < kCount && m_slots[slot].thread.joinable();
}

void WorkerSlots::StopAll() {
    for (Slot& s : m_slots) {
        s.stop.Set();
        if (s.cancelIo)
            s.cancelIo();
    }
    for (int i = 0; i < kCount; ++i) {
        Slot& s = m_slots[i];
        if (!s.thread.joinable())
            continue;
        s.thread.join();
        s.cancelIo = nullptr;
        platform::DebugLog("所有对象处于激发状态 %d", i);
    }
}

} // namespace shell
