// The list component of embedded files and its collection, and their registration for forms.
#include "zintara/core/flash_list.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

namespace zn {

const TClassInfo& TznFlashCollection::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TznFlashCollection, TCollection>(L"TznFlashCollection");
    return info;
}
const TClassInfo& TznFlashCollection::ClassType() const
{
    return ClassInfo();
}

TznFlashCollection::TznFlashCollection(TznFlashList* AOwner)
    : TCollection(TznFlashStream::ClassInfo()), FFlashList(AOwner)
{}

TPersistent* TznFlashCollection::GetOwner() const
{
    return FFlashList;
}

const TClassInfo& TznFlashList::ClassInfo()
{
    using P = TPublished<TznFlashList>;
    static const TPropertyInfo properties[] = {
        P::Object<&TznFlashList::Flashs>(L"Flashs"),
    };
    static const TClassInfo info =
        DeclareClass<TznFlashList, TComponent>(L"TznFlashList", properties);
    return info;
}
const TClassInfo& TznFlashList::ClassType() const
{
    return ClassInfo();
}

TznFlashList::TznFlashList(TComponent* AOwner)
    : TComponent(AOwner), FFlashs(std::make_unique<TznFlashCollection>(this))
{}

TznFlashList::~TznFlashList()
{
    Destroying();
}

TznFlashStream* TznFlashList::FindFlash(const std::wstring& AName) const
{
    for (int i = 0; i < FFlashs->Count(); ++i) {
        TznFlashStream* item = FFlashs->GetItem(i);
        if (SameText(item->GetFlashStore(), AName))
            return item;
    }
    return nullptr;
}

void RegisterFlashListClasses()
{
    RegisterClasses({&TznFlashList::ClassInfo(), &TznFlashStream::ClassInfo()});
}

} // namespace zn
