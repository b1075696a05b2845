#pragma once
// UpdateClient: asks the update service, one HTTPS request per query, whether a newer version
// of an entry exists. One attempt per request, no retry. Server certificates and host names
// are always verified against the trusted CAs.
//
// One client per thread; Abort may be called from any other thread while a request runs.

#include "update/UpdateEntry.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace update {

inline constexpr std::size_t kReplyCapacity = 102400;
// The environment variable that names the update service's root address.
inline constexpr const char* kServiceRootVariable = "QUARIN_Z17_UPDATE_URL";

// The last errors of a refused request.
inline constexpr int kErrorEmptyUrl = 3;
inline constexpr int kErrorBadVerb = 87;

struct HttpOptions {
    std::string caFile; // trusted CAs; empty: the system's
    std::string proxy;  // empty: the environment's (http_proxy, https_proxy, no_proxy)
};

class UpdateClient {
public:
    // `serviceRoot`: scheme, host and optional port (and path) of the service, such as
    // "https://updates.example.com/".
    explicit UpdateClient(std::string serviceRoot, HttpOptions options = {});
    ~UpdateClient();
    UpdateClient(const UpdateClient&) = delete;
    UpdateClient& operator=(const UpdateClient&) = delete;

    // One attempt. Returns the reply bytes received (reply cut at kReplyCapacity), 0 when no
    // request could be sent (reply then holds "NO_LINK_SERVER"), -1 for an empty URL (last
    // error 3) or a verb other than GET/POST compared without case (last error 87).
    // `reply` holds exactly the bytes received. The three request headers are always
    // "Content-Length: N" (N the size of `body`, which goes out as it is), the form content
    // type and the service's Accept type. The status code is not looked at.
    // A request that was sent but whose reply broke off returns what came before the break
    // (possibly 0, with `reply` empty). A request ended by Abort is answered as no link.
    // After a transfer LastError is 0 when it completed, else its libcurl error code.
    int HttpRequest(const std::string& url, const std::string& verb, const std::string& body,
                    std::vector<char>& reply);
    // POSTs the query for one entry to the service root's "api/updates" and reads the reply
    // (see ReadUpdateReply in UpdateReply.h).
    UpdateResult QueryUpdates(const std::wstring& applicationKey, std::int32_t currentVersion,
                              bool hex);
    // From any thread: a running transfer ends at once and later ones are refused (answered
    // as no link).
    void Abort();
    int LastError() const;

private:
    struct Multi;

    std::string m_serviceRoot;
    HttpOptions m_options;
    std::unique_ptr<Multi> m_multi;
    std::atomic<bool> m_aborted{false};
    std::atomic<int> m_lastError{0};
};

} // namespace update
