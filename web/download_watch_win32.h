// Watching URLDownloadToFileW's download through the callbacks urlmon offers.
#pragma once

#include <cstdint>

#include "platform/win32/windows_api.h"
// After <windows.h>.
#include <urlmon.h>

namespace wlk::web {

// Asks urlmon to stop when the answer grows past `maxBytes` or an https
// download is redirected to anything but https, and notes what it saw: Wine's
// urlmon goes on regardless, and any urlmon saves an error page as readily as
// the document, so the caller judges the download by the status and the size.
class DownloadWatch final : public IBindStatusCallback, public IHttpNegotiate {
public:
    DownloadWatch(uint32_t maxBytes, bool secure) : maxBytes_(maxBytes), secure_(secure) {}

    // 0 until the server has answered.
    DWORD Status() const { return status_; }
    bool TooLarge() const { return tooLarge_; }

    // The watch lives on its caller's stack for the one call: it counts no references.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG, ULONG status,
                                         LPCWSTR text) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO*) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                   LPWSTR* extraHeaders) override;
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR, LPCWSTR,
                                         LPWSTR* extraHeaders) override;

private:
    const uint32_t maxBytes_;
    const bool secure_;
    DWORD status_ = 0;
    bool tooLarge_ = false;
};

}  // namespace wlk::web
