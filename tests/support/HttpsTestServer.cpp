#include "support/HttpsTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace test {

namespace {

struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateDeleter {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using CertificatePtr = std::unique_ptr<X509, CertificateDeleter>;

bool AddExtension(X509* certificate, X509V3_CTX* context, int nid, const char* value) {
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, context, nid, value);
    if (!extension)
        return false;
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

// A certificate for `key`, signed by `issuerKey` under `issuer` (itself when both are null):
// a CA's, or a server's for `names`.
CertificatePtr MakeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer,
                               EVP_PKEY* issuerKey, bool ca,
                               const char* names = "IP:127.0.0.1,DNS:localhost") {
    static long serial = 1;
    CertificatePtr certificate(X509_new());
    X509* c = certificate.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), serial++);
    X509_gmtime_adj(X509_getm_notBefore(c), -3600);
    X509_gmtime_adj(X509_getm_notAfter(c), 24 * 3600);
    X509_set_pubkey(c, key);
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509_set_issuer_name(c, issuer ? X509_get_subject_name(issuer) : name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer ? issuer : c, c, nullptr, nullptr, 0);
    const bool extended =
        ca ? AddExtension(c, &context, NID_basic_constraints, "critical,CA:TRUE") &&
                 AddExtension(c, &context, NID_key_usage, "critical,keyCertSign,cRLSign") &&
                 AddExtension(c, &context, NID_subject_key_identifier, "hash")
           : AddExtension(c, &context, NID_basic_constraints, "CA:FALSE") &&
                 AddExtension(c, &context, NID_subject_alt_name, names) &&
                 AddExtension(c, &context, NID_ext_key_usage, "serverAuth");
    if (!extended || X509_sign(c, issuerKey ? issuerKey : key, EVP_sha256()) == 0)
        return nullptr;
    return certificate;
}

bool WritePem(const std::string& path, X509* certificate) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    const bool written = PEM_write_X509(file, certificate) == 1;
    return std::fclose(file) == 0 && written;
}

// The Content-Length of a request head; 0 without one.
std::size_t ContentLength(const std::string& head) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    const std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

int ListenOnLoopback(int* port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(fd, 8) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

} // namespace

HttpsTestServer::HttpsTestServer(Certificate certificate) {
    // A client that hangs up on a long reply must not end the test process.
    std::signal(SIGPIPE, SIG_IGN);
    std::string folder = (std::filesystem::temp_directory_path() / "quarin-https-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        m_error = "no temporary folder";
        return;
    }
    m_folder = folder;
    m_caFile = m_folder + "/ca.pem";

    const Key caKey(EVP_EC_gen("P-256"));
    const Key serverKey(EVP_EC_gen("P-256"));
    if (!caKey || !serverKey) {
        m_error = "no key could be made";
        return;
    }
    const CertificatePtr ca =
        MakeCertificate(caKey.get(), "QUARIN test CA", nullptr, nullptr, true);
    const bool signedByCa = certificate != Certificate::SelfSigned;
    const bool wrongName = certificate == Certificate::WrongName;
    const char* host = wrongName ? "elsewhere.invalid" : "127.0.0.1";
    const char* names = wrongName ? "DNS:elsewhere.invalid" : "IP:127.0.0.1,DNS:localhost";
    const CertificatePtr server =
        ca ? MakeCertificate(serverKey.get(), host, signedByCa ? ca.get() : nullptr,
                             signedByCa ? caKey.get() : nullptr, false, names)
           : nullptr;
    if (!server || !WritePem(m_caFile, ca.get())) {
        m_error = "the test certificates could not be made";
        return;
    }

    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    m_context = context;
    if (!context || SSL_CTX_use_certificate(context, server.get()) != 1 ||
        SSL_CTX_use_PrivateKey(context, serverKey.get()) != 1) {
        m_error = "the TLS context could not be made";
        return;
    }
    m_listenFd = ListenOnLoopback(&m_port);
    if (m_listenFd < 0) {
        m_error = "no loopback port to listen on";
        return;
    }
    m_thread = std::thread([this] { Run(); });
}

HttpsTestServer::~HttpsTestServer() {
    Stop();
    if (m_listenFd >= 0)
        close(m_listenFd);
    SSL_CTX_free(static_cast<SSL_CTX*>(m_context));
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

std::string HttpsTestServer::Root() const {
    return "https://127.0.0.1:" + std::to_string(m_port) + "/";
}

void HttpsTestServer::SetReplyBody(std::string body) {
    std::lock_guard lock(m_mutex);
    m_body = std::move(body);
}

void HttpsTestServer::SetSilent() {
    std::lock_guard lock(m_mutex);
    m_silent = true;
}

std::vector<std::string> HttpsTestServer::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool HttpsTestServer::WaitForRequests(std::size_t count) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10),
                              [&] { return m_requests.size() >= count; });
}

void HttpsTestServer::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        // Wakes the accept and a read or write in progress.
        if (m_listenFd >= 0)
            shutdown(m_listenFd, SHUT_RDWR);
        if (m_connectionFd >= 0)
            shutdown(m_connectionFd, SHUT_RDWR);
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void HttpsTestServer::Run() {
    for (;;) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) {
                if (fd >= 0)
                    close(fd);
                return;
            }
            if (fd < 0)
                continue;
            m_connectionFd = fd;
        }
        Serve(fd);
    }
}

void HttpsTestServer::Serve(int fd) {
    SSL* ssl = SSL_new(static_cast<SSL_CTX*>(m_context));
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) == 1) {
        std::string request;
        bool complete = false;
        char buffer[4096];
        while (!complete) {
            const int got = SSL_read(ssl, buffer, sizeof buffer);
            if (got <= 0)
                break;
            request.append(buffer, got);
            const std::size_t headEnd = request.find("\r\n\r\n");
            complete = headEnd != std::string::npos &&
                       request.size() >= headEnd + 4 + ContentLength(request.substr(0, headEnd));
        }
        std::string body;
        bool answer = false;
        if (complete) {
            std::unique_lock lock(m_mutex);
            m_requests.push_back(request);
            m_changed.notify_all();
            if (m_silent)
                m_changed.wait(lock, [&] { return m_stopping; });
            answer = !m_stopping;
            body = m_body;
        }
        if (answer) {
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                                      "Content-Length: " +
                                      std::to_string(body.size()) +
                                      "\r\nConnection: close\r\n\r\n" + body;
            SSL_write(ssl, reply.data(), static_cast<int>(reply.size()));
            SSL_shutdown(ssl);
        }
    }
    ERR_clear_error();
    SSL_free(ssl);
    std::lock_guard lock(m_mutex);
    m_connectionFd = -1;
    close(fd);
}

int UnusedLoopbackPort() {
    int port = 0;
    const int fd = ListenOnLoopback(&port);
    if (fd < 0)
        return 0;
    close(fd);
    return port;
}

} // namespace test
