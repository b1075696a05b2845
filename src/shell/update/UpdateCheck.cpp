#include "shell/update/UpdateCheck.h"

namespace shell::update {

bool Unreachable(const ::update::UpdateResult& result) {
    // A reply without any field is what a request that sent but heard nothing leaves.
    return result.name == L"NO_LINK_SERVER" ||
           (result.status == 0 && result.name.empty() && result.serverVersion.empty() &&
            result.versionName.empty() && result.downloadPath.empty());
}

void CUpdateCheck::Start(std::vector<::update::UpdateEntry> entries, const std::string& serviceRoot,
                         ::update::HttpOptions options, Callbacks callbacks) {
    Stop();
    m_stop = false;
    if (!serviceRoot.empty())
        m_client = std::make_unique<::update::UpdateClient>(serviceRoot, std::move(options));
    m_thread = std::thread([this, entries = std::move(entries), callbacks = std::move(callbacks)] {
        std::size_t unreachable = 0;
        for (std::size_t i = 0; i < entries.size() && !m_stop; ++i) {
            const ::update::UpdateEntry& entry = entries[i];
            ::update::UpdateResult result;
            if (m_client)
                result = m_client->QueryUpdates(::update::BuildApplicationKey(entry),
                                                entry.currentVersion, entry.IsHex());
            else
                result.name = L"NO_LINK_SERVER"; // nothing is sent without a service
            if (m_stop)
                break;
            if (Unreachable(result))
                ++unreachable;
            if (callbacks.result)
                callbacks.result(i, result);
        }
        if (!m_stop && callbacks.done)
            callbacks.done(unreachable);
    });
}

void CUpdateCheck::Stop() {
    m_stop = true;
    if (m_client)
        m_client->Abort();
    if (m_thread.joinable())
        m_thread.join();
    m_client.reset();
}

} // namespace shell::update
