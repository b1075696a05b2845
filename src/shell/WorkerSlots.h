#pragma once
// The main window's worker threads: twenty slots, each with a manual-reset stop event. Slot 0
// scans for devices; the recorder supervision (1) and light synchronisation (8) threads take
// theirs when they come. A worker ends when its stop event is set; one that may be blocked in
// device I/O also gives a cancel that wakes it. No thread is ever killed.

#include "transport/Event.h"

#include <array>
#include <functional>
#include <thread>

namespace shell {

class WorkerSlots {
public:
    static constexpr int kCount = 20;
    enum : int { kScanSlot = 0, kRecorderSlot = 1, kLightSyncSlot = 8 };

    WorkerSlots() = default;
    WorkerSlots(const WorkerSlots&) = delete;
    WorkerSlots& operator=(const WorkerSlots&) = delete;
    ~WorkerSlots() { StopAll(); }

    transport::Event& StopEvent(int slot) { return m_slots[slot].stop; }
    // Runs body(stop event) on a new thread in the slot. cancelIo, when given, is called at
    // stop time to wake the thread from a blocking read or write. False when the slot is out of
    // range or already runs a thread.
    bool Start(int slot, std::function<void(transport::Event&)> body,
               std::function<void()> cancelIo = {});
    bool IsRunning(int slot) const;
    // Sets every stop event, wakes blocked I/O, then joins the threads one by one.
    void StopAll();

private:
    struct Slot {
        transport::Event stop{true};
        std::function<void()> cancelIo;
        std::thread thread;
    };
    std::array<Slot, kCount> m_slots;
};

} // namespace shell
