// The designer's error message box.
#include "error_report.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

namespace zn::zindesign {

void ReportError(HWND Owner, const std::exception& Error)
{
    const auto* framework = dynamic_cast<const Exception*>(&Error);
    const std::wstring text = framework ? framework->Message() : Utf8ToWide(Error.what());
    MessageBoxW(Owner, text.c_str(), L"zindesign", MB_OK | MB_ICONERROR);
}

} // namespace zn::zindesign
