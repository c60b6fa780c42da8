// The list component of embedded files and its collection, and their registration for forms.
#include "zintara/core/flash_list.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

namespace zn {

const TClassInfo& TznFlashCollection::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TznFlashCollection, TCollection>(L"TznFlashCollection");
    return Info;
}
const TClassInfo& TznFlashCollection::ClassType() const { return ClassInfo(); }

TznFlashCollection::TznFlashCollection(TznFlashList* AOwner)
    : TCollection(TznFlashStream::ClassInfo()), FFlashList(AOwner) {}

TPersistent* TznFlashCollection::GetOwner() const { return FFlashList; }

const TClassInfo& TznFlashList::ClassInfo() {
    using P = TPublished<TznFlashList>;
    static const TPropertyInfo Properties[] = {
        P::Object<&TznFlashList::Flashs>(L"Flashs"),
    };
    static const TClassInfo Info = DeclareClass<TznFlashList, TComponent>(L"TznFlashList", Properties);
    return Info;
}
const TClassInfo& TznFlashList::ClassType() const { return ClassInfo(); }

TznFlashList::TznFlashList(TComponent* AOwner)
    : TComponent(AOwner), FFlashs(std::make_unique<TznFlashCollection>(this)) {}

TznFlashList::~TznFlashList() { Destroying(); }

TznFlashStream* TznFlashList::FindFlash(const std::wstring& AName) const {
    for (int I = 0; I < FFlashs->Count(); ++I) {
        TznFlashStream* Item = FFlashs->GetItem(I);
        if (SameText(Item->GetFlashStore(), AName)) return Item;
    }
    return nullptr;
}

void RegisterFlashListClasses() { RegisterClasses({&TznFlashList::ClassInfo(), &TznFlashStream::ClassInfo()}); }

} // namespace zn
