// Pull downloads through the system URL library, the way URLOpenPullStreamW works on Windows
// (Wine's is a stub): a URL moniker bound asynchronously to an IStream, with the caller's
// callback registered in the bind context and the pull model forced in its bind flags. The
// callbacks arrive on the calling thread, for file URLs inside the call, for HTTP later while
// the thread pumps messages. Shared by both drivers.
#pragma once

#include "zintara/framework/handles.h"

#include <windows.h>
#include <urlmon.h>

#include <memory>
#include <string>

namespace zn {

class TUrlMonLibrary {
public:
    // Loads urlmon.dll and looks up what a download needs.
    TUrlMonLibrary();

    bool CanDownload() const { return FCreateURLMonikerEx && FCreateAsyncBindCtx; }

    // Starts the download of Url; Callback receives every notification, and its bind flags are
    // extended with BINDF_ASYNCHRONOUS, BINDF_ASYNCSTORAGE and BINDF_PULLDATA. A failure code
    // means no notification follows; E_NOTIMPL when downloads are not available.
    HRESULT OpenPullStream(const std::wstring& Url, IBindStatusCallback* Callback);

private:
    TModule FLibrary;
    decltype(&::CreateURLMonikerEx) FCreateURLMonikerEx = nullptr;
    decltype(&::CreateAsyncBindCtx) FCreateAsyncBindCtx = nullptr;
};

} // namespace zn
