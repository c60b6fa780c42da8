// The plain message box (see dialogs.h).
#include "zintara/framework/dialogs.h"

#include "zintara/framework/application.h"

#include <windows.h>

namespace zn {

void ShowMessage(const std::wstring& Message)
{
    const TApplication* app = Application();
    const wchar_t* caption = app && !app->Title().empty() ? app->Title().c_str() : nullptr;
    MessageBoxW(GetActiveWindow(), Message.c_str(), caption, MB_OK);
}

} // namespace zn
