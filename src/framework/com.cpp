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

HRESULT OleCheck(HRESULT Result)
{
    if (FAILED(Result))
        throw EOleSysError(Result);
    return Result;
}

} // namespace zn
