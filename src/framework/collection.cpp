// TCollection and TCollectionItem: items created through their class, owned by the collection.
#include "zintara/framework/collection.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <algorithm>

namespace zn {

const TClassInfo& TCollectionItem::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TCollectionItem, TPersistent>(L"TCollectionItem");
    return info;
}
const TClassInfo& TCollectionItem::ClassType() const
{
    return ClassInfo();
}

TCollectionItem::TCollectionItem(TCollection* ACollection)
{
    SetCollection(ACollection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (Value == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    int current = Index();
    if (current < 0 || Value == current)
        return;
    auto& items = FCollection->FItems;
    Value = std::clamp(Value, 0, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
}

std::wstring TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

TPersistent* TCollectionItem::GetOwner() const
{
    return FCollection;
}

const TClassInfo& TCollection::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TCollection, TPersistent>(L"TCollection");
    return info;
}
const TClassInfo& TCollection::ClassType() const
{
    return ClassInfo();
}

TCollection::TCollection(const TClassInfo& ItemClass) : FItemClass(ItemClass)
{
    if (!ItemClass.CreateItem || !ItemClass.InheritsFrom(TCollectionItem::ClassInfo()))
        throw EInvalidOperation(std::wstring(L"Class ") + ItemClass.Name +
                                L" cannot be a collection's item class");
}

TCollection::~TCollection()
{
    Clear();
}

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItems(int Index, const TCollectionItem* Value)
{
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::Add()
{
    return FItemClass.CreateItem(this);
}

TCollectionItem* TCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    delete Items(Index);
}

void TCollection::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == ID)
            return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* Source)
{
    const auto* other = dynamic_cast<const TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    Clear();
    for (TCollectionItem* item : other->FItems)
        Add()->Assign(item);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    auto found = std::find(FItems.begin(), FItems.end(), Item);
    if (found != FItems.end())
        FItems.erase(found);
    Item->FCollection = nullptr;
}

} // namespace zn
