// The update client against a local HTTPS server: the request as it goes on the wire, the
// reading of the reply, refused certificates, no link, long replies and Abort.

#include "support/HttpsTestServer.h"
#include "update/UpdateClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <sstream>
#include <thread>

namespace {

using namespace update;
using test::HttpsTestServer;

// The header lines of a request head, without the request line.
std::vector<std::string> HeaderLines(const std::string& request) {
    std::vector<std::string> lines;
    const std::string head = request.substr(0, request.find("\r\n\r\n"));
    std::size_t start = head.find("\r\n");
    while (start != std::string::npos) {
        const std::size_t end = head.find("\r\n", start + 2);
        lines.push_back(head.substr(start + 2, end == std::string::npos ? end : end - start - 2));
        start = end;
    }
    return lines;
}

std::size_t CountNamed(const std::vector<std::string>& lines, const std::string& name) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() > name.size() && line[name.size()] == ':' &&
               std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    });
}

std::string Body(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
}

std::string Text(const std::vector<char>& reply) {
    return {reply.begin(), reply.end()};
}

class UpdateClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A proxy of the machine running the tests must not stand between client and server.
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTPS_PROXY",
                                 "ALL_PROXY", "no_proxy", "NO_PROXY"})
            unsetenv(name);
    }
    // Skips the test when the machine cannot run the server.
    bool Started(const HttpsTestServer& server) {
        if (!server.Error().empty())
            ADD_FAILURE() << "the test server did not start: " << server.Error();
        return server.Error().empty();
    }
    std::string Url(const HttpsTestServer& server) const { return server.Root() + "api/updates"; }
};

TEST_F(UpdateClientTest, HexQueryGoesOutWithItsZeroByteAndTheThreeHeadersOnce) {
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    server.SetReplyBody(R"({"path": "https://dl.example/ms.exe", "name": "MS firmware",
        "version_name": "1.06", "version": "0106", "device_id": 3})");
    UpdateClient client(server.Root(), {server.CaFile(), {}});

    const UpdateResult result = client.QueryUpdates(L"ORBEK_1_RT20M_MS_1", 0x0105, true);
    EXPECT_EQ(result.status, kStatusNewer);
    EXPECT_EQ(result.localVersion, L"V0105");
    EXPECT_EQ(result.serverVersion, L"V0106");
    EXPECT_EQ(result.name, L"MS firmware");
    EXPECT_EQ(result.downloadPath, L"https://dl.example/ms.exe");
    EXPECT_EQ(result.deviceId, 3);
    EXPECT_EQ(client.LastError(), 0);

    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind("POST /api/updates HTTP/1.1\r\n", 0), 0u) << request;
    const std::string body("app_key=ORBEK_1_RT20M_MS_1&version=105\0", 39);
    EXPECT_EQ(Body(request), body);

    const std::vector<std::string> lines = HeaderLines(request);
    auto has = [&](const std::string& line) {
        return std::count(lines.begin(), lines.end(), line) == 1;
    };
    EXPECT_TRUE(has("Content-Length: 39")) << request;
    EXPECT_TRUE(has("Content-Type: application/x-www-form-urlencoded")) << request;
    EXPECT_TRUE(has("Accept:application/prs.Orbek.v1+json")) << request;
    EXPECT_TRUE(has("User-Agent: WinHTTP Client/1.0")) << request;
    EXPECT_EQ(CountNamed(lines, "Content-Length"), 1u) << request;
    EXPECT_EQ(CountNamed(lines, "Content-Type"), 1u) << request;
    EXPECT_EQ(CountNamed(lines, "Accept"), 1u) << request;
    EXPECT_EQ(CountNamed(lines, "Expect"), 0u) << request;
}

TEST_F(UpdateClientTest, DecimalApplicationIsCurrentAndShowsTheVersionName) {
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    server.SetReplyBody(R"({"name": "AP", "version_name": "2.0.9", "version": "209"})");
    // The root without its trailing slash gets one.
    std::string root = server.Root();
    root.pop_back();
    UpdateClient client(root, {server.CaFile(), {}});

    const UpdateResult result =
        client.QueryUpdates(L"ORBEK_0_ALL_RT23_C1_C2_1", ParseInstalledVersion("2.1.0"), false);
    EXPECT_EQ(result.status, kStatusCurrent);
    EXPECT_EQ(result.localVersion, L"V210");
    EXPECT_EQ(result.serverVersion, L"2.0.9");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("POST /api/updates ", 0), 0u);
    EXPECT_EQ(Body(server.Requests()[0]),
              std::string("app_key=ORBEK_0_ALL_RT23_C1_C2_1&version=210\0", 45));
}

TEST_F(UpdateClientTest, ACertificateTheCaDoesNotVouchForIsRefused) {
    for (HttpsTestServer::Certificate certificate :
         {HttpsTestServer::Certificate::SelfSigned, HttpsTestServer::Certificate::WrongName}) {
        HttpsTestServer server(certificate);
        ASSERT_TRUE(Started(server));
        UpdateClient client(server.Root(), {server.CaFile(), {}});
        std::vector<char> reply;
        EXPECT_EQ(client.HttpRequest(Url(server), "POST", "x", reply), 0);
        EXPECT_EQ(Text(reply), "NO_LINK_SERVER");
        EXPECT_NE(client.LastError(), 0);
        EXPECT_EQ(client.QueryUpdates(L"K", 1, true).name, L"NO_LINK_SERVER");
        EXPECT_TRUE(server.Requests().empty());
    }
    // The system's CAs do not know the test CA either.
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    UpdateClient client(server.Root());
    EXPECT_EQ(client.QueryUpdates(L"K", 1, true).name, L"NO_LINK_SERVER");
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateClientTest, NoServerOrAnUnreachableProxyIsNoLink) {
    const int port = test::UnusedLoopbackPort();
    ASSERT_NE(port, 0);
    UpdateClient nobody("https://127.0.0.1:" + std::to_string(port) + "/");
    const UpdateResult result = nobody.QueryUpdates(L"K", 0x0105, true);
    EXPECT_EQ(result.name, L"NO_LINK_SERVER");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(nobody.LastError(), 0);

    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    UpdateClient proxied(server.Root(),
                         {server.CaFile(), "http://127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(proxied.QueryUpdates(L"K", 1, true).name, L"NO_LINK_SERVER");
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateClientTest, AReplyIsCutAtItsCapacityAndAnEmptyOneIsNotNoLink) {
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    server.SetReplyBody(std::string(200 * 1024, 'x'));
    UpdateClient client(server.Root(), {server.CaFile(), {}});
    std::vector<char> reply;
    EXPECT_EQ(client.HttpRequest(Url(server), "POST", "x", reply),
              static_cast<int>(kReplyCapacity));
    EXPECT_EQ(reply.size(), kReplyCapacity);
    EXPECT_EQ(client.LastError(), 0);

    server.SetReplyBody("");
    EXPECT_EQ(client.HttpRequest(Url(server), "POST", "x", reply), 0);
    EXPECT_TRUE(reply.empty());
    EXPECT_EQ(client.QueryUpdates(L"K", 1, true).name, L"");
}

TEST_F(UpdateClientTest, OnlyGetAndPostInAnyCaseAndNoEmptyUrl) {
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    server.SetReplyBody("{}");
    UpdateClient client(server.Root(), {server.CaFile(), {}});
    std::vector<char> reply;
    EXPECT_EQ(client.HttpRequest(Url(server), "get", "", reply), 2);
    EXPECT_EQ(Text(reply), "{}");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /api/updates HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(CountNamed(HeaderLines(server.Requests()[0]), "Content-Length"), 1u);

    EXPECT_EQ(client.HttpRequest(Url(server), "pOsT", "x", reply), 2);

    EXPECT_EQ(client.HttpRequest(Url(server), "PUT", "x", reply), -1);
    EXPECT_EQ(client.LastError(), kErrorBadVerb);
    EXPECT_EQ(client.HttpRequest("", "POST", "x", reply), -1);
    EXPECT_EQ(client.LastError(), kErrorEmptyUrl);
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(UpdateClientTest, AbortEndsATransferTheServerNeverAnswersAndRefusesLaterOnes) {
    HttpsTestServer server;
    ASSERT_TRUE(Started(server));
    server.SetSilent();
    UpdateClient client(server.Root(), {server.CaFile(), {}});
    std::vector<char> reply;
    std::promise<int> returned;
    std::thread worker(
        [&] { returned.set_value(client.HttpRequest(Url(server), "POST", "x", reply)); });
    std::future<int> result = returned.get_future();

    // The request is with the server, the client waits for its answer.
    const bool requested = server.WaitForRequests(1);
    client.Abort();
    const bool ended = result.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!ended)
        server.Stop(); // closing the connection frees the worker
    worker.join();
    ASSERT_TRUE(requested);
    ASSERT_TRUE(ended) << "Abort did not end the transfer";
    EXPECT_EQ(result.get(), 0);
    EXPECT_EQ(Text(reply), "NO_LINK_SERVER");

    EXPECT_EQ(client.QueryUpdates(L"K", 1, true).name, L"NO_LINK_SERVER");
    EXPECT_EQ(server.Requests().size(), 1u);
}

} // namespace
