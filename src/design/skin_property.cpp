// The skin editor: a drop-down of the playback skins over one or more players.
#include "zintara/zn_flashreg.h"

#include "zintara/framework/dialogs.h"
#include "zintara/framework/exceptions.h"

namespace zn {

TPropertyAttributes TznSkinProperty::GetAttributes()
{
    return {TPropertyAttribute::paValueList, TPropertyAttribute::paMultiSelect,
            TPropertyAttribute::paRevertable};
}

// The designer calls these while it paints and fills its lists: a framework failure is shown
// to the user there and then, and the inspector carries on.
void TznSkinProperty::GetValues(const TGetStrProc& Proc)
{
    try {
        for (const wchar_t* each : SkinNames)
            Proc(each);
    } catch (const Exception& E) {
        ShowMessage(E.Message());
    }
}

std::wstring TznSkinProperty::GetValue()
{
    try {
        return GetStrValue();
    } catch (const Exception& E) {
        ShowMessage(E.Message());
        return {};
    }
}

void TznSkinProperty::SetValue(const std::wstring& Value)
{
    try {
        SetStrValue(Value);
    } catch (const Exception& E) {
        ShowMessage(E.Message());
        // The players before the one that failed have the new skin: the form has changed.
        Modified();
    }
}

} // namespace zn
