// The version document's download against a server of the tests' own on
// 127.0.0.1.
#include "web/update_download_win32.h"

#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "log/event_log.h"
#include "platform/text.h"
#include "platform/win32/windows_api.h"
#include "support/log_entries.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

// DocumentOnSecondTry closes the first connection unanswered; Trickle sends
// its answer a byte at a time, ten a second.
enum class Answer { Document, DocumentOnSecondTry, Silent, Trickle };

// Answers every request in the same way, one connection after the other, and
// keeps the requests it saw. Its sockets never block for long, so that the
// destructor always stops and joins it.
class StandInServer {
public:
    StandInServer(Answer answer, std::string body) : answer_(answer), body_(std::move(body)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        listen(listener_, 4);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~StandInServer() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
        WSACleanup();
    }
    Text Url(const char* pathAndQuery) const {
        return u"http://127.0.0.1:" + ToText(port_) + T(pathAndQuery);
    }
    std::vector<std::string> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    // Waits up to 50 ms for the socket to become readable (or writable).
    static bool Ready(SOCKET socket, bool write) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval wait{0, 50000};
        return select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &wait) > 0;
    }
    void Serve() {
        while (!stop_) {
            if (!Ready(listener_, false)) continue;
            SOCKET client = accept(listener_, nullptr, nullptr);
            u_long nonBlocking = 1;
            ioctlsocket(client, FIONBIO, &nonBlocking);
            if (Receive(client)) Reply(client);
            closesocket(client);
        }
    }
    bool Receive(SOCKET client) {
        std::string request;
        char buffer[4096];
        while (!stop_ && request.find("\r\n\r\n") == std::string::npos) {
            if (!Ready(client, false)) continue;
            const int got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0) return false;
            request.append(buffer, got);
        }
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        return true;
    }
    bool Send(SOCKET client, const std::string& bytes) {
        for (size_t sent = 0; sent < bytes.size();) {
            if (stop_) return false;
            const int put = send(client, bytes.data() + sent, int(bytes.size() - sent), 0);
            if (put > 0) sent += put;
            else if (WSAGetLastError() == WSAEWOULDBLOCK) Ready(client, true);
            else return false;
        }
        return true;
    }
    static std::string Head(size_t length) {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
               std::to_string(length) + "\r\nConnection: close\r\n\r\n";
    }
    void Reply(SOCKET client) {
        const bool first = Requests().size() == 1;
        if (answer_ == Answer::Document || (answer_ == Answer::DocumentOnSecondTry && !first))
            Send(client, Head(body_.size()) + body_);
        if (answer_ == Answer::Trickle && Send(client, Head(1000))) {
            while (Send(client, "x")) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        // A silent server holds the connection until the client gives up.
        char byte;
        while (answer_ == Answer::Silent && !stop_)
            if (Ready(client, false) && recv(client, &byte, 1, 0) <= 0) break;
    }

    const Answer answer_;
    const std::string body_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<WordlarkVersionInfo>\r\n"
    "  <Version>2.62.0.0</Version>\r\n  <Status>Gr\xC3\xBC\xC3\x9F" "e</Status>\r\n"
    "</WordlarkVersionInfo>\r\n";
constexpr char kQuery[] = "/Source/update_wlk.php?wlk_version=2.61.0.1&winver=10.0.19045";
const std::string kFallbackFailed =
    "Ooops, cannot download info version file by URLDownloadToFile_API_Wrapper";

class UpdateDownloadTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(log::EventLog::Instance().Open(Path("LogReport.txt")));
        leftovers_ = Leftovers();
    }
    void TearDown() override {
        // A download given up on removes its file when its thread ends.
        EXPECT_TRUE(WaitUntil([&] { return Leftovers() == leftovers_; }, 30000))
            << "a temporary file was left behind";
        log::EventLog::Instance().Close();
        PlatformTest::TearDown();
    }
    std::vector<std::string> LogLines() {
        log::EventLog::Instance().WaitForWriters(5000);
        std::vector<std::string> lines;
        for (const LogEntry& entry : LogEntries(Bytes(Path("LogReport.txt"))))
            lines.push_back(entry.message);
        return lines;
    }

private:
    // The download's temporary files: "wlk????.xml" and the ".tmp" that reserves its name.
    static int Leftovers() {
        wchar_t folder[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, folder);
        int count = 0;
        for (const wchar_t* pattern : {L"wlk*.xml", L"wlk*.tmp"}) {
            WIN32_FIND_DATAW found;
            HANDLE find = FindFirstFileW((std::wstring(folder) + pattern).c_str(), &found);
            for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
                ++count;
            if (find != INVALID_HANDLE_VALUE) FindClose(find);
        }
        return count;
    }
    int leftovers_ = 0;
};

TEST_F(UpdateDownloadTest, ADocumentComesBackByteForByteFromOneRequestWithTheAgreedHeaders) {
    StandInServer server(Answer::Document, kDocument);
    EXPECT_EQ(web::DownloadVersionDocument(server.Url(kQuery)), kDocument);

    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u) << "the fallback must not run";
    EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")),
              std::string("GET ") + kQuery + " HTTP/1.1");
    EXPECT_NE(requests[0].find("\r\nUser-Agent: MyAgent\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("\r\nAccept: */*\r\n"), std::string::npos) << requests[0];
    EXPECT_EQ(requests[0].find("Cookie:"), std::string::npos) << requests[0];
}

TEST_F(UpdateDownloadTest, WhenTheOwnRequestFailsUrlmonFetchesTheDocument) {
    StandInServer server(Answer::DocumentOnSecondTry, kDocument);
    EXPECT_EQ(web::DownloadVersionDocument(server.Url(kQuery)), kDocument);
    EXPECT_EQ(server.Requests().size(), 2u);
    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Cannot download info version file by Download2");
    EXPECT_EQ(lines.back(),
              "Well download info version file sucessfully by URLDownloadToFile_API_Wrapper");
}

TEST_F(UpdateDownloadTest, AnAnswerOverTheLimitIsRefusedAndOneAtTheLimitIsKept) {
    // The server answered: asking it again by the other road would fetch the same.
    StandInServer huge(Answer::Document, std::string(5 * 1024 * 1024, 'x'));
    EXPECT_EQ(web::DownloadVersionDocument(huge.Url(kQuery)), std::nullopt);
    EXPECT_EQ(huge.Requests().size(), 1u);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "Version file refused: the answer exceeds 65536 bytes",
                              "Cannot download info version file by Download2"}));

    StandInServer exact(Answer::Document, kDocument);
    const uint32_t size = uint32_t(kDocument.size());
    EXPECT_EQ(web::DownloadVersionDocument(exact.Url("/a"), {size, 5000, 5000}), kDocument);
    EXPECT_EQ(web::DownloadVersionDocument(exact.Url("/b"), {size - 1, 5000, 5000}), std::nullopt);
}

TEST_F(UpdateDownloadTest, ASilentOrTricklingServerEndsTheDownloadByTheTimeOuts) {
    for (Answer answer : {Answer::Silent, Answer::Trickle}) {
        StandInServer server(answer, "");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(web::DownloadVersionDocument(server.Url(kQuery), {64 * 1024, 1000, 1000}),
                  std::nullopt);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(server.Requests().size(), 2u);
    }
    const std::vector<std::string> lines = LogLines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "Download2: the answer took longer than 2000 ms"),
        1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "URLDownloadToFile_API_Wrapper: no answer within 2000 ms"),
              2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kFallbackFailed), 2);
}

}  // namespace
}  // namespace wlk::test
