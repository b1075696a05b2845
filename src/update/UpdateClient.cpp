#include "update/UpdateClient.h"

#include "update/UpdateReply.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

namespace update {

namespace {

constexpr const char* kUserAgent = "WinHTTP Client/1.0";
constexpr long kConnectTimeoutMs = 60000;
// A transfer that moves no byte for this long, sending or receiving, is given up.
constexpr long kStallSeconds = 30;
// The transfer's own limits wake the wait before this; it only bounds a wait in which libcurl
// has nothing pending at all.
constexpr int kIdleWaitMs = 60 * 60 * 1000;

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Keeps what fits in the reply; once it is full the transfer is stopped, as nothing more
// would be kept.
struct ReplySink {
    std::vector<char>* reply;
    bool full = false;
};

std::size_t WriteReply(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<ReplySink*>(user);
    const std::size_t bytes = size * count;
    const std::size_t kept = std::min(bytes, kReplyCapacity - sink->reply->size());
    sink->reply->insert(sink->reply->end(), data, data + kept);
    if (kept < bytes) {
        sink->full = true;
        return 0;
    }
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderDeleter>;

HeaderList RequestHeaders(std::size_t bodyLength) {
    // libcurl adds none of these itself when they are given, and an empty "Expect:" keeps it
    // from waiting for a "100 Continue" the service never sends.
    const std::string lines[] = {
        "Content-Length: " + std::to_string(bodyLength),
        "Content-Type: application/x-www-form-urlencoded",
        "Accept:application/prs.Orbek.v1+json",
        "Expect:",
    };
    curl_slist* list = nullptr;
    for (const std::string& line : lines) {
        curl_slist* longer = curl_slist_append(list, line.c_str());
        if (!longer) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = longer;
    }
    return HeaderList(list);
}

} // namespace

struct UpdateClient::Multi {
    Multi() : handle(curl_multi_init()) {}
    ~Multi() {
        if (handle)
            curl_multi_cleanup(handle);
    }
    CURLM* handle;
};

UpdateClient::UpdateClient(std::string serviceRoot, HttpOptions options)
    : m_serviceRoot(std::move(serviceRoot)), m_options(std::move(options)) {
    InitialiseCurlOnce();
    m_multi = std::make_unique<Multi>();
}

UpdateClient::~UpdateClient() = default;

void UpdateClient::Abort() {
    m_aborted = true;
    // The wake-up stays pending until the transfer's next wait, so it is not lost when it
    // comes between two waits or before the first.
    if (m_multi->handle)
        curl_multi_wakeup(m_multi->handle);
}

int UpdateClient::LastError() const {
    return m_lastError;
}

int UpdateClient::HttpRequest(const std::string& url, const std::string& verb,
                              const std::string& body, std::vector<char>& reply) {
    reply.clear();
    if (url.empty()) {
        m_lastError = kErrorEmptyUrl;
        return -1;
    }
    const std::string method = Upper(verb);
    if (method != "GET" && method != "POST") {
        m_lastError = kErrorBadVerb;
        return -1;
    }
    const auto noLink = [&](int error) {
        m_lastError = error;
        reply.assign(kNoLinkServer, kNoLinkServer + std::strlen(kNoLinkServer));
        return 0;
    };
    if (m_aborted)
        return noLink(CURLE_ABORTED_BY_CALLBACK);

    EasyHandle easy(curl_easy_init());
    HeaderList headers = RequestHeaders(body.size());
    if (!easy || !headers || !m_multi->handle) {
        m_lastError = CURLE_OUT_OF_MEMORY;
        return -1;
    }
    CURL* e = easy.get();
    ReplySink sink{&reply};
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!m_options.caFile.empty()) {
        // Only the given CAs are trusted, not the system's besides them.
        curl_easy_setopt(e, CURLOPT_CAINFO, m_options.caFile.c_str());
        curl_easy_setopt(e, CURLOPT_CAPATH, nullptr);
    }
    if (!m_options.proxy.empty())
        curl_easy_setopt(e, CURLOPT_PROXY, m_options.proxy.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    if (method == "POST" || !body.empty()) {
        curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        if (method == "GET")
            curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "GET");
    } else {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WriteReply);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &sink);

    CURLM* multi = m_multi->handle;
    if (curl_multi_add_handle(multi, e) != CURLM_OK) {
        m_lastError = CURLE_FAILED_INIT;
        return -1;
    }
    int running = 1;
    bool multiFailed = false;
    while (!m_aborted) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            multiFailed = true;
            break;
        }
        if (running == 0)
            break;
        // Sleeps until a socket is ready, a time limit of the transfer is due or Abort wakes
        // it.
        if (curl_multi_poll(multi, nullptr, 0, kIdleWaitMs, nullptr) != CURLM_OK) {
            multiFailed = true;
            break;
        }
    }
    CURLcode code = CURLE_OK;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == e)
            code = message->data.result;
    long requestBytes = 0;
    curl_easy_getinfo(e, CURLINFO_REQUEST_SIZE, &requestBytes);
    curl_multi_remove_handle(multi, e);

    if (running != 0)
        return noLink(multiFailed ? CURLE_FAILED_INIT : CURLE_ABORTED_BY_CALLBACK);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.full)) {
        m_lastError = 0;
        return static_cast<int>(reply.size());
    }
    // Nothing went out when the connection, the proxy or the TLS handshake failed.
    if (requestBytes == 0)
        return noLink(code);
    m_lastError = code;
    return static_cast<int>(reply.size());
}

UpdateResult UpdateClient::QueryUpdates(const std::wstring& applicationKey,
                                        std::int32_t currentVersion, bool hex) {
    std::vector<char> reply;
    const int received = HttpRequest(UpdateServiceUrl(m_serviceRoot), "POST",
                                     UpdateRequestBody(applicationKey, currentVersion, hex), reply);
    return ReadUpdateReply(reply, received, currentVersion, hex);
}

} // namespace update
