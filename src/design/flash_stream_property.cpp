// The embedded-file editor: an item's name, and a file loaded into the item through the open
// dialog.
#include "zintara/zn_flashreg.h"

#include "zintara/core/flash_list.h"
#include "zintara/framework/application.h"
#include "zintara/framework/dialogs.h"
#include "zintara/framework/exceptions.h"

#include <memory>

namespace zn {

namespace {

std::wstring WithoutFolder(const std::wstring& Path)
{
    return Path.substr(Path.find_last_of(L"\\/:") + 1);
}

TznFlashStream& Item(TPersistent* Object)
{
    auto* item = dynamic_cast<TznFlashStream*>(Object);
    if (!item)
        throw EPropertyError(L"FlashStore is edited on embedded-file items only");
    return *item;
}

} // namespace

TPropertyAttributes TznFlashStreamProperty::GetAttributes()
{
    return {TPropertyAttribute::paDialog};
}

std::wstring TznFlashStreamProperty::GetValue()
{
    return Item(GetComponent(0)).GetDisplayName();
}

void TznFlashStreamProperty::Edit()
{
    TznFlashStream& item = Item(GetComponent(0));
    // Owned by the application like any dialog the designer shows, but freed here whatever
    // happens: the application would otherwise collect one dialog per failed load.
    const auto dialog = std::make_unique<TOpenDialog>(Application());
    dialog->SetFilter(FlashStreamFilter);
    if (dialog->Execute()) {
        // A file that cannot be opened leaves the item as it was.
        item.Flash().LoadFromFile(dialog->FileName());
        if (item.Flash().Size() > 0)
            item.SetFlashStore(WithoutFolder(dialog->FileName()));
    }
    Modified();
}

} // namespace zn
