#pragma once
// The settings window's check thread: asks the update service about every entry, one after
// the other, and reports each result and the end through callbacks called on the thread.
// Stop() wakes it at once (a transfer in progress is aborted) and joins it; it is never killed.

#include "update/UpdateClient.h"
#include "update/UpdateEntry.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace shell::update {

class CUpdateCheck {
public:
    struct Callbacks {
        std::function<void(std::size_t index, const ::update::UpdateResult& result)> result;
        // How many of the queries reached no service.
        std::function<void(std::size_t unreachable)> done;
    };

    CUpdateCheck() = default;
    ~CUpdateCheck() { Stop(); }
    CUpdateCheck(const CUpdateCheck&) = delete;
    CUpdateCheck& operator=(const CUpdateCheck&) = delete;

    // An empty service root sends nothing: every entry counts as unreachable.
    void Start(std::vector<::update::UpdateEntry> entries, const std::string& serviceRoot,
               ::update::HttpOptions options, Callbacks callbacks);
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

private:
    std::unique_ptr<::update::UpdateClient> m_client;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Whether a result came from no service at all (nothing sent, or nothing answered).
bool Unreachable(const ::update::UpdateResult& result);

} // namespace shell::update
