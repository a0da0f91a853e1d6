#include "web/download_watch_win32.h"

#include <cwchar>

namespace wlk::web {

HRESULT DownloadWatch::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IBindStatusCallback)
        *out = static_cast<IBindStatusCallback*>(this);
    else if (iid == IID_IHttpNegotiate)
        *out = static_cast<IHttpNegotiate*>(this);
    else
        *out = nullptr;
    return *out ? S_OK : E_NOINTERFACE;
}

HRESULT DownloadWatch::OnProgress(ULONG progress, ULONG, ULONG status, LPCWSTR text) {
    if (status == BINDSTATUS_REDIRECTING && secure_ &&
        (!text || std::wcsncmp(text, L"https://", 8) != 0))
        return E_ABORT;
    if (progress > maxBytes_) {
        tooLarge_ = true;
        return E_ABORT;
    }
    return S_OK;
}

// Always from the server, and silent.
HRESULT DownloadWatch::GetBindInfo(DWORD* flags, BINDINFO*) {
    *flags |= BINDF_GETNEWESTVERSION | BINDF_PRAGMA_NO_CACHE | BINDF_NO_UI | BINDF_SILENTOPERATION;
    return S_OK;
}

HRESULT DownloadWatch::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* extraHeaders) {
    *extraHeaders = nullptr;
    return S_OK;
}

HRESULT DownloadWatch::OnResponse(DWORD status, LPCWSTR, LPCWSTR, LPWSTR* extraHeaders) {
    if (extraHeaders) *extraHeaders = nullptr;
    status_ = status;
    return status == 200 ? S_OK : E_ABORT;
}

}  // namespace wlk::web
