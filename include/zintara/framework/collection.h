// Collections: TCollection, an ordered list of items of one class that it owns, and
// TCollectionItem, the base of those items.
#pragma once

#include "zintara/framework/object.h"

#include <string>
#include <vector>

namespace zn {

class TCollectionItem : public TPersistent {
public:
    // The virtual constructor: every item class has one of this form, and the item is
    // appended to ACollection (when given), which then owns it.
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* Value);
    int Index() const;
    void SetIndex(int Value);
    // Unique within its collection for the collection's whole life.
    int ID() const { return FID; }
    // What editors show for the item; the class name unless overridden.
    virtual std::wstring GetDisplayName() const;
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
public:
    // ItemClass must describe a TCollectionItem class (it has a CreateItem).
    explicit TCollection(const TClassInfo& ItemClass);
    ~TCollection() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    const TClassInfo& ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EListError for an index outside 0..Count-1.
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItems(int Index, const TCollectionItem* Value);
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    // Copies another collection item by item.
    void Assign(const TPersistent* Source) override;

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    const TClassInfo& FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
};

} // namespace zn
