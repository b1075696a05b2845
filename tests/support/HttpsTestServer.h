#pragma once
// A small HTTPS server on 127.0.0.1 for the update client's tests: it makes its own CA and
// server certificate in a temporary folder, records every request as it came on the wire and
// answers each with one fixed body, or never.

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace test {

class HttpsTestServer {
public:
    enum class Certificate {
        Trusted,    // signed by the CA of CaFile()
        SelfSigned, // signed by itself: CaFile() does not vouch for it
        WrongName,  // signed by the CA, but for another host name than 127.0.0.1
    };

    explicit HttpsTestServer(Certificate certificate = Certificate::Trusted);
    ~HttpsTestServer();
    HttpsTestServer(const HttpsTestServer&) = delete;
    HttpsTestServer& operator=(const HttpsTestServer&) = delete;

    // Empty while the server runs, else why it could not start.
    const std::string& Error() const { return m_error; }
    // "https://127.0.0.1:PORT/".
    std::string Root() const;
    int Port() const { return m_port; }
    // The PEM file of the test CA.
    const std::string& CaFile() const { return m_caFile; }

    // The body of every following "200 OK" reply (default "{}").
    void SetReplyBody(std::string body);
    // Every following request is read and never answered; the connection stays open until
    // the server stops.
    void SetSilent();
    // Each request received so far: head and body, byte for byte.
    std::vector<std::string> Requests() const;
    // Waits until `count` requests came; false after 10 s, which only keeps a failing test
    // from hanging.
    bool WaitForRequests(std::size_t count) const;
    // Ends the server; open connections are closed. The destructor calls it.
    void Stop();

private:
    void Run();
    void Serve(int fd);

    std::string m_error;
    std::string m_folder;
    std::string m_caFile;
    void* m_context = nullptr; // SSL_CTX
    int m_listenFd = -1;
    int m_port = 0;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    bool m_silent = false;
    int m_connectionFd = -1;
    std::string m_body = "{}";
    std::vector<std::string> m_requests;
};

// A loopback port on which nothing listens (one that was just free).
int UnusedLoopbackPort();

} // namespace test
