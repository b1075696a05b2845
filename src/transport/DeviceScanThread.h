#pragma once
// DeviceScanThread: passes over the HID collections at start, whenever the backend tells of a
// change and every few seconds besides; binds newly present supported interfaces to free
// slots and notices bound ones that have gone.

#include "transport/DeviceSlot.h"
#include "transport/Event.h"
#include "transport/HidChannel.h"

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace transport {

// Told of every binding and removal, synchronously on the scan thread, and once per run when
// the first pass is done. The slot list changes only on the scan thread, and only before the
// call that reports the change.
class ISlotReceiver {
public:
    virtual ~ISlotReceiver() = default;
    virtual void OnSlotBound(int slot) = 0;
    virtual void OnSlotLost(int slot) = 0;
    virtual void OnFirstScanDone() = 0;
    // Opening the path was refused (error: EACCES or EPERM, the node's permissions). Told
    // once; the path is not tried again until it has gone from the list and come back.
    // Also told once with kNodeInUse (NodeLock.h) when another program owns the node; that
    // path is tried again on every pass and bound once the other program lets it go.
    virtual void OnOpenDenied(const std::string& path, int error) = 0;
};

class DeviceScanThread {
public:
    // The pass made without a change event, in case the backend missed one.
    static constexpr int kSafetyPassMs = 5000;

    // slots: the receiver's slot list (normally MakeSlotList()). backend nullptr: the default.
    // safetyPassMs: the time without a change after which a pass is made all the same.
    DeviceScanThread(std::vector<DeviceSlot>& slots, ISlotReceiver& receiver,
                     HidBackend* backend = nullptr, int safetyPassMs = kSafetyPassMs);
    ~DeviceScanThread();

    // Clears the stop event and starts the thread (once).
    void Start();
    // Signals the stop event and waits for the thread to end.
    void Stop();
    Event& StopEvent() { return m_stop; }
    bool IsRunning() const { return m_thread.joinable(); }

    // One pass: bind what is new, then drop what has gone. False when the collections could
    // not be listed (the thread then ends).
    bool ScanOnce();
    // The thread's body, for a caller that runs it on a thread of its own: passes until `stop`
    // is set or the collections cannot be listed, sleeping in the backend's WaitForChange
    // between passes.
    void Run(Event& stop);

private:
    // One pass; `lost` tells whether it freed a slot.
    bool Pass(bool& lost);
    // A pass, and at once a second when the first freed slots: a pass binds before it drops,
    // so an interface waiting for a freed slot would otherwise wait for the next change.
    bool PassAndRebind();
    bool BindNewInterfaces();
    void BindPath(const std::string& path);
    // Opens the scanning channel on the path; tells of a refused open once.
    bool OpenForScan(const std::string& path);
    // True when a slot was lost.
    bool DropLostInterfaces();

    std::vector<DeviceSlot>& m_slots;
    ISlotReceiver& m_receiver;
    HidBackend* m_backend;
    const int m_safetyPassMs;
    CHidChannel m_scanner;
    Event m_stop{true};
    bool m_firstPass = true;
    std::set<std::string> m_denied; // paths whose open was refused, while they are listed
    std::set<std::string> m_inUse;  // paths another program owned, told of until they open
    std::thread m_thread;
};

} // namespace transport
