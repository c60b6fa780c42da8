// Exceptions that reached a C or COM boundary, and the error a checked COM call raises (see com.h).
#include "zintara/framework/com.h"

#include "zintara/framework/controls.h"
#include "zintara/framework/exceptions.h"

namespace zn {

void ReportCurrentException(TObject* Sender) noexcept
{
    // A handler installed without an application object may raise itself; the boundary must
    // hold all the same.
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            HandleApplicationException(Sender, e);
        } catch (...) {
            HandleApplicationException(Sender, Exception(L"Unknown exception"));
        }
    } catch (...) {
    }
}

EOleSysError::EOleSysError(HRESULT AErrorCode)
    : Exception(SystemErrorMessage(static_cast<unsigned long>(AErrorCode))), FErrorCode(AErrorCode)
{}

EOleSysError::EOleSysError(HRESULT AErrorCode, const std::wstring& AMessage)
    : Exception(AMessage), FErrorCode(AErrorCode)
{}

void DispatchCheck(HRESULT Result, EXCEPINFO& Info)
{
    if (Result == DISP_E_EXCEPTION && Info.pfnDeferredFillIn)
        Info.pfnDeferredFillIn(&Info);
    std::wstring description = Info.bstrDescription ? Info.bstrDescription : L"";
    const HRESULT code = Result == DISP_E_EXCEPTION && FAILED(Info.scode) ? Info.scode : Result;
    SysFreeString(Info.bstrSource);
    SysFreeString(Info.bstrDescription);
    SysFreeString(Info.bstrHelpFile);
    Info = EXCEPINFO{};
    if (SUCCEEDED(Result))
        return;
    if (Result != DISP_E_EXCEPTION)
        throw EOleSysError(Result);
    throw EOleException(code, description.empty() ? EOleSysError(code).Message() : description);
}

HRESULT OleCheck(HRESULT Result)
{
    if (FAILED(Result))
        throw EOleSysError(Result);
    return Result;
}

} // namespace zn
