#include "web/update_download_win32.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "web/download_watch_win32.h"
#include "web/temp_xml_file_win32.h"
// After <windows.h>.
#include <urlmon.h>
#include <wininet.h>

namespace wlk::web {

using platform::win32::AsWide;
using platform::win32::Unique;
using platform::win32::UniqueFile;

namespace {

using UniqueInternet = Unique<HINTERNET, &::InternetCloseHandle>;

// Never from the cache, never into it, no cookies, no dialogs, no stored
// credentials, and no redirects at all: a redirect answers with its own
// status, which is not 200, so an https request can never end on http.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
                                INTERNET_FLAG_NO_AUTO_REDIRECT;

void Log(const Text& line) {
    log::EventLog::Instance().Write(line);
}

void LogFailure(const char* call) {
    Log(Format(u"Download2: %s failed, error=%u", {T(call), ToText(GetLastError())}));
}

void LogRefusal(uint32_t maxBytes) {
    Log(Format(u"Version file refused: the answer exceeds %u bytes", {ToText(maxBytes)}));
}

// A download may take this long as a whole, however its server trickles.
uint32_t TotalMs(const DownloadLimits& limits) {
    return limits.connectTimeoutMs + limits.receiveTimeoutMs;
}

// The handles of one request, closed child first.
struct Request {
    UniqueInternet session;
    UniqueInternet connection;
    UniqueInternet request;
};

// Wine applies time-outs set on a session to none of its requests, and those
// InternetOpenUrlW makes cannot be reached before they wait for the answer.
// So the request is opened step by step and gets the time-outs itself, which
// Wine and Windows both honour.
void SetTimeouts(HINTERNET request, const DownloadLimits& limits) {
    DWORD connect = limits.connectTimeoutMs;
    DWORD receive = limits.receiveTimeoutMs;
    InternetSetOptionW(request, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    InternetSetOptionW(request, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof(receive));
    InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
}

bool OpenRequest(const Text& url, const DownloadLimits& limits, Request& out) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    // Nonzero lengths ask for pointers into `url`.
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(AsWide(url), 0, 0, &parts)) return false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    out.session.Reset(InternetOpenW(L"MyAgent", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!out.session) return false;
    out.connection.Reset(InternetConnectW(out.session.Get(), host.c_str(), parts.nPort, nullptr,
                                          nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!out.connection) return false;
    out.request.Reset(HttpOpenRequestW(out.connection.Get(), L"GET", object.c_str(), nullptr,
                                       nullptr, nullptr, kRequestFlags | secure, 0));
    if (!out.request) return false;
    SetTimeouts(out.request.Get(), limits);
    return HttpSendRequestW(out.request.Get(), L"Accept: */*\r\n\r\n", DWORD(-1), nullptr, 0);
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr))
        return 0;
    return status;
}

// What the program's own road got: the document saved, an answer the server
// gave but that is refused (another status, too large), or no answer at all.
enum class Outcome { Saved, Refused, Failed };

// Copies the answer's body into `file`, refusing it as soon as it grows past
// the limit or goes on past the deadline. InternetReadFile waits until it has
// all it was asked for, so only what has arrived is asked for: each wait then
// ends with new bytes or the receive time-out, and the time is looked at
// often enough.
Outcome CopyBody(HINTERNET request, const DownloadLimits& limits, ULONGLONG deadline,
                 HANDLE file) {
    char buffer[8192];
    uint64_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!InternetQueryDataAvailable(request, &got, 0, 0)) {
            LogFailure("InternetQueryDataAvailable");
            return Outcome::Failed;
        }
        if (got == 0) return Outcome::Saved;
        if (!InternetReadFile(request, buffer, std::min<DWORD>(got, sizeof(buffer)), &got)) {
            LogFailure("InternetReadFile");
            return Outcome::Failed;
        }
        total += got;
        if (total > limits.maxBytes) {
            LogRefusal(limits.maxBytes);
            return Outcome::Refused;
        }
        DWORD written = 0;
        if (!WriteFile(file, buffer, got, &written, nullptr) || written != got) {
            LogFailure("WriteFile");
            return Outcome::Failed;
        }
        if (GetTickCount64() > deadline) {
            Log(Format(u"Download2: the answer took longer than %u ms", {ToText(TotalMs(limits))}));
            return Outcome::Failed;
        }
    }
}

Outcome SaveByWinInet(const Text& url, const DownloadLimits& limits, const TempXmlFile& target) {
    const ULONGLONG deadline = GetTickCount64() + TotalMs(limits);
    Request request;
    if (!OpenRequest(url, limits, request)) {
        LogFailure("the request");
        return Outcome::Failed;
    }
    const DWORD status = StatusCode(request.request.Get());
    if (status != 200) {
        Log(Format(u"Download2: the server answered with status %u", {ToText(status)}));
        return status == 0 ? Outcome::Failed : Outcome::Refused;
    }
    UniqueFile file(CreateFileW(AsWide(target.Path()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) {
        LogFailure("CreateFileW");
        return Outcome::Failed;
    }
    return CopyBody(request.request.Get(), limits, deadline, file.Get());
}

// urlmon.dll is looked up when needed: the program does not load it otherwise.
bool SaveByUrlMoniker(const Text& url, uint32_t maxBytes, const TempXmlFile& target) {
    using DownloadFn = HRESULT(WINAPI*)(IUnknown*, LPCWSTR, LPCWSTR, DWORD, IBindStatusCallback*);
    platform::win32::UniqueModule urlmon(LoadLibraryW(L"urlmon.dll"));
    if (!urlmon) return false;
    auto download = reinterpret_cast<DownloadFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(urlmon.Get(), "URLDownloadToFileW")));
    if (!download) return false;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DownloadWatch watch(maxBytes, url.starts_with(u"https://"));
    const HRESULT result = download(nullptr, AsWide(url), AsWide(target.Path()), 0, &watch);
    const bool tooLarge = watch.TooLarge();
    const DWORD status = watch.Status();
    if (SUCCEEDED(com)) CoUninitialize();
    if (tooLarge) {
        LogRefusal(maxBytes);
        return false;
    }
    if (status != 200 && status != 0) {
        Log(Format(u"URLDownloadToFile_API_Wrapper: the server answered with status %u",
                   {ToText(status)}));
    }
    return SUCCEEDED(result) && status == 200;
}

// The file's bytes, or nothing when it is larger than allowed.
std::optional<std::string> ReadBack(const TempXmlFile& file, uint32_t maxBytes) {
    const std::optional<uint64_t> size = file.Size();
    if (!size) return std::nullopt;
    if (*size > maxBytes) {
        LogRefusal(maxBytes);
        return std::nullopt;
    }
    return file.Read(maxBytes);
}

std::optional<std::string> DownloadByWinInet(const Text& url, const DownloadLimits& limits,
                                             Outcome& outcome) {
    TempXmlFile file;
    outcome = file.Path().empty() ? Outcome::Failed : SaveByWinInet(url, limits, file);
    if (outcome != Outcome::Saved) return std::nullopt;
    return ReadBack(file, limits.maxBytes);
}

std::optional<std::string> DownloadByUrlMoniker(const Text& url, uint32_t maxBytes) {
    TempXmlFile file;
    if (file.Path().empty() || !SaveByUrlMoniker(url, maxBytes, file)) return std::nullopt;
    file.MarkTemporary();
    return ReadBack(file, maxBytes);
}

// What the fallback's thread hands back, shared with it: the caller may have
// given up before it ends.
struct Handover {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::optional<std::string> bytes;
};

// URLDownloadToFileW takes no time-outs, and Wine's waits for a silent server
// for good. So it runs on a thread of its own, which the caller stops waiting
// for when the whole download's time is up; the thread then ends whenever
// urlmon gives up, and deletes its file.
std::optional<std::string> DownloadByUrlMonikerWithin(const Text& url,
                                                      const DownloadLimits& limits) {
    auto handover = std::make_shared<Handover>();
    const bool started = platform::Current().threads.Start([url, limits, handover] {
        std::optional<std::string> bytes = DownloadByUrlMoniker(url, limits.maxBytes);
        std::lock_guard lock(handover->mutex);
        handover->bytes = std::move(bytes);
        handover->done = true;
        handover->ended.notify_all();
    });
    if (!started) return std::nullopt;
    std::unique_lock lock(handover->mutex);
    if (!handover->ended.wait_for(lock, std::chrono::milliseconds(TotalMs(limits)),
                                  [&] { return handover->done; })) {
        Log(Format(u"URLDownloadToFile_API_Wrapper: no answer within %u ms",
                   {ToText(TotalMs(limits))}));
        return std::nullopt;
    }
    return std::move(handover->bytes);
}

}  // namespace

std::optional<std::string> DownloadVersionDocument(const Text& url, const DownloadLimits& limits) {
    Outcome outcome = Outcome::Failed;
    if (auto bytes = DownloadByWinInet(url, limits, outcome)) return bytes;
    Log(u"Cannot download info version file by Download2");
    // The server answered and the answer was refused: the other road would
    // only fetch the same answer again.
    if (outcome == Outcome::Refused) return std::nullopt;
    auto bytes = DownloadByUrlMonikerWithin(url, limits);
    Log(bytes ? u"Well download info version file sucessfully by URLDownloadToFile_API_Wrapper"
              : u"Ooops, cannot download info version file by URLDownloadToFile_API_Wrapper");
    return bytes;
}

}  // namespace wlk::web
