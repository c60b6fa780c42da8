// Collections: items made through their class, owned, indexed, copied, and streamed names.
#include "test_components.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/collection.h"
#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::testing;

namespace {

// Counts live items, to show that the collection frees them.
class TCountedItem : public TCollectionItem {
public:
    explicit TCountedItem(TCollection* ACollection) : TCollectionItem(ACollection) { ++Alive; }
    ~TCountedItem() override { --Alive; }
    static const TClassInfo& ClassInfo() {
        static const TClassInfo Info = DeclareClass<TCountedItem, TCollectionItem>(L"TCountedItem");
        return Info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }
    std::wstring GetDisplayName() const override { return L"item " + std::to_wstring(ID()); }
    static int Alive;
};
int TCountedItem::Alive = 0;

} // namespace

TEST(Collection, AddCreatesItemsOfTheItemClassAndOwnsThem) {
    {
        TCollection Items(TCountedItem::ClassInfo());
        TCollectionItem* First = Items.Add();
        TCollectionItem* Second = Items.Add();
        EXPECT_EQ(TCountedItem::Alive, 2);
        EXPECT_EQ(First->ClassName(), L"TCountedItem");
        EXPECT_EQ(First->Collection(), &Items);
        EXPECT_EQ(First->GetOwner(), &Items);
        EXPECT_EQ(Second->Index(), 1);
        EXPECT_EQ(Second->GetDisplayName(), L"item 1");
        Items.Delete(0);
        EXPECT_EQ(TCountedItem::Alive, 1);
        EXPECT_EQ(Second->Index(), 0);
        EXPECT_EQ(Items.FindItemID(1), Second);
        EXPECT_EQ(Items.Add()->ID(), 2) << "IDs are not reused";
    }
    EXPECT_EQ(TCountedItem::Alive, 0);
}

TEST(Collection, FreeingAnItemRemovesItAndIndicesAreChecked) {
    TCollection Items(TCountedItem::ClassInfo());
    TCollectionItem* First = Items.Add();
    Items.Add();
    delete First;
    EXPECT_EQ(Items.Count(), 1);
    EXPECT_THROW(Items.Items(1), EListError);
    EXPECT_THROW(Items.Delete(-1), EListError);
    TCollectionItem* Front = Items.Insert(0);
    EXPECT_EQ(Items.Items(0), Front);
    Front->SetIndex(5);
    EXPECT_EQ(Front->Index(), 1);
    Items.Clear();
    EXPECT_EQ(Items.Count(), 0);
    EXPECT_EQ(TCountedItem::Alive, 0);
}

TEST(Collection, ItemsMoveBetweenCollections) {
    TCollection A(TCountedItem::ClassInfo()), B(TCountedItem::ClassInfo());
    TCollectionItem* Item = A.Add();
    Item->SetCollection(&B);
    EXPECT_EQ(A.Count(), 0);
    EXPECT_EQ(B.Items(0), Item);
}

TEST(Collection, AnItemClassMustBeOne) {
    EXPECT_THROW(TCollection{TComponent::ClassInfo()}, EInvalidOperation);
}

TEST(Collection, AssignCopiesItemByItemAndRefusesStrangers) {
    TCollection Source(TTestItem::ClassInfo()), Target(TTestItem::ClassInfo());
    Source.Add();
    Source.Add();
    Target.Add();
    // TTestItem has no Assign of its own: the default conversion error reaches the caller.
    EXPECT_THROW(Target.Assign(&Source), EConvertError);
    TCollection Empty(TTestItem::ClassInfo());
    Target.Assign(&Empty);
    EXPECT_EQ(Target.Count(), 0);
    TComponent Stranger(nullptr);
    try {
        Target.Assign(&Stranger);
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), L"Cannot assign a TComponent to a TCollection");
    }
}

TEST(ClassRegistry, FindsRegisteredClassesByName) {
    RegisterTestClasses();
    RegisterTestClasses();
    EXPECT_EQ(GetClass(L"ttestcomponent"), &TTestComponent::ClassInfo());
    EXPECT_EQ(&FindClass(L"TDataModule"), &TDataModule::ClassInfo());
    EXPECT_EQ(GetClass(L"TNothing"), nullptr);
    EXPECT_THROW(FindClass(L"TNothing"), EClassNotFound);
    static const TClassInfo Impostor = DeclareClass<TTestComponent, TComponent>(L"TTestComponent");
    EXPECT_THROW(RegisterClass(Impostor), EFilerError);
    UnRegisterClass(TFailingComponent::ClassInfo());
    EXPECT_EQ(GetClass(L"TFailingComponent"), nullptr);
    RegisterClass(TFailingComponent::ClassInfo());
    std::unique_ptr<TComponent> Made(FindClass(L"TDataModule").CreateComponent(nullptr));
    EXPECT_EQ(Made->ClassName(), L"TDataModule");
}

TEST(PublishedProperties, TablesChainToTheBaseClass) {
    const TClassInfo& Class = TTestComponent::ClassInfo();
    EXPECT_EQ(Class.Parent, &TComponent::ClassInfo());
    const TPropertyInfo* Name = Class.FindProperty(L"Name");
    ASSERT_NE(Name, nullptr);
    EXPECT_EQ(Name->Kind, TTypeKind::WideString);
    const TPropertyInfo* Plugin = Class.FindProperty(L"plugin");
    ASSERT_NE(Plugin, nullptr);
    EXPECT_EQ(Plugin->Kind, TTypeKind::Enumeration);
    EXPECT_EQ(Plugin->ValueIndex(L"ZNACTIVEX"), 2);
    EXPECT_EQ(Plugin->ValueIndex(L"znOther"), -1);
    EXPECT_EQ(&Class.FindProperty(L"Items")->ObjectClass(), &TCollection::ClassInfo());
    EXPECT_EQ(Class.FindProperty(L"Nothing"), nullptr);
}

TEST(PublishedProperties, AccessorsReadAndWriteTheObject) {
    TTestComponent Component(nullptr);
    const TClassInfo& Class = TTestComponent::ClassInfo();
    const TPropertyInfo& Options = *Class.FindProperty(L"Options");
    Options.SetOrdinal(Component, 0b101);
    EXPECT_EQ(Component.Options(), (TOptions{TOption::opLoop, TOption::opScale}));
    const TPropertyInfo& Movie = *Class.FindProperty(L"Movie");
    Movie.SetString(Component, L"x.swf");
    EXPECT_EQ(Component.Movie(), L"x.swf");
    EXPECT_FALSE(Movie.IsDefault(Component));
    const TPropertyInfo& Enabled = *Class.FindProperty(L"Enabled");
    EXPECT_TRUE(Enabled.IsDefault(Component));
    Enabled.SetOrdinal(Component, 0);
    EXPECT_FALSE(Component.Enabled());
    const TPropertyInfo& Count = *Class.FindProperty(L"Count");
    Component.SetCount(99);
    EXPECT_FALSE(Count.Stored(Component));
    EXPECT_EQ(Class.FindProperty(L"Font")->GetObject(Component), Component.Font());
}
