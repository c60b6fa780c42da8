// Collections: items made through their class, owned, indexed, copied, and streamed names.
#include "test_components.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/collection.h"
#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

namespace {

// Counts live items, to show that the collection frees them.
class TCountedItem : public TCollectionItem {
public:
    explicit TCountedItem(TCollection* ACollection) : TCollectionItem(ACollection) { ++Alive; }
    ~TCountedItem() override { --Alive; }
    static const TClassInfo& ClassInfo()
    {
        static const TClassInfo info = DeclareClass<TCountedItem, TCollectionItem>(L"TCountedItem");
        return info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }
    std::wstring GetDisplayName() const override { return L"item " + std::to_wstring(ID()); }
    static int Alive;
};
int TCountedItem::Alive = 0;

} // namespace

TEST(Collection, AddCreatesItemsOfTheItemClassAndOwnsThem)
{
    {
        TCollection items(TCountedItem::ClassInfo());
        TCollectionItem* first = items.Add();
        TCollectionItem* second = items.Add();
        EXPECT_EQ(TCountedItem::Alive, 2);
        EXPECT_EQ(first->ClassName(), L"TCountedItem");
        EXPECT_EQ(first->Collection(), &items);
        EXPECT_EQ(first->GetOwner(), &items);
        EXPECT_EQ(second->Index(), 1);
        EXPECT_EQ(second->GetDisplayName(), L"item 1");
        items.Delete(0);
        EXPECT_EQ(TCountedItem::Alive, 1);
        EXPECT_EQ(second->Index(), 0);
        EXPECT_EQ(items.FindItemID(1), second);
        EXPECT_EQ(items.Add()->ID(), 2) << "IDs are not reused";
    }
    EXPECT_EQ(TCountedItem::Alive, 0);
}

TEST(Collection, FreeingAnItemRemovesItAndIndicesAreChecked)
{
    TCollection items(TCountedItem::ClassInfo());
    TCollectionItem* first = items.Add();
    items.Add();
    delete first;
    EXPECT_EQ(items.Count(), 1);
    EXPECT_THROW(items.Items(1), EListError);
    EXPECT_THROW(items.Delete(-1), EListError);
    TCollectionItem* front = items.Insert(0);
    EXPECT_EQ(items.Items(0), front);
    front->SetIndex(5);
    EXPECT_EQ(front->Index(), 1);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(TCountedItem::Alive, 0);
}

TEST(Collection, ItemsMoveBetweenCollections)
{
    TCollection a(TCountedItem::ClassInfo()), b(TCountedItem::ClassInfo());
    TCollectionItem* item = a.Add();
    item->SetCollection(&b);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(b.Items(0), item);
}

TEST(Collection, AnItemClassMustBeOne)
{
    EXPECT_THROW(TCollection{TComponent::ClassInfo()}, EInvalidOperation);
}

TEST(Collection, AssignCopiesItemByItemAndRefusesStrangers)
{
    TCollection source(TTestItem::ClassInfo()), target(TTestItem::ClassInfo());
    source.Add();
    source.Add();
    target.Add();
    // TTestItem has no Assign of its own: the default conversion error reaches the caller.
    EXPECT_THROW(target.Assign(&source), EConvertError);
    TCollection empty(TTestItem::ClassInfo());
    target.Assign(&empty);
    EXPECT_EQ(target.Count(), 0);
    TComponent stranger(nullptr);
    try {
        target.Assign(&stranger);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Cannot assign a TComponent to a TCollection");
    }
}

TEST(ClassRegistry, FindsRegisteredClassesByName)
{
    RegisterTestClasses();
    RegisterTestClasses();
    EXPECT_EQ(GetClass(L"ttestcomponent"), &TTestComponent::ClassInfo());
    EXPECT_EQ(&FindClass(L"TDataModule"), &TDataModule::ClassInfo());
    EXPECT_EQ(GetClass(L"TNothing"), nullptr);
    EXPECT_THROW(FindClass(L"TNothing"), EClassNotFound);
    static const TClassInfo impostor = DeclareClass<TTestComponent, TComponent>(L"TTestComponent");
    EXPECT_THROW(RegisterClass(impostor), EFilerError);
    UnRegisterClass(TFailingComponent::ClassInfo());
    EXPECT_EQ(GetClass(L"TFailingComponent"), nullptr);
    RegisterClass(TFailingComponent::ClassInfo());
    std::unique_ptr<TComponent> made(FindClass(L"TDataModule").CreateComponent(nullptr));
    EXPECT_EQ(made->ClassName(), L"TDataModule");
}

TEST(PublishedProperties, TablesChainToTheBaseClass)
{
    const TClassInfo& class_info = TTestComponent::ClassInfo();
    EXPECT_EQ(class_info.Parent, &TComponent::ClassInfo());
    const TPropertyInfo* name = class_info.FindProperty(L"Name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Kind, TTypeKind::WideString);
    const TPropertyInfo* plugin = class_info.FindProperty(L"plugin");
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->Kind, TTypeKind::Enumeration);
    EXPECT_EQ(plugin->ValueIndex(L"ZNACTIVEX"), 2);
    EXPECT_EQ(plugin->ValueIndex(L"znOther"), -1);
    EXPECT_EQ(&class_info.FindProperty(L"Items")->ObjectClass(), &TCollection::ClassInfo());
    EXPECT_EQ(class_info.FindProperty(L"Nothing"), nullptr);
}

TEST(PublishedProperties, AccessorsReadAndWriteTheObject)
{
    TTestComponent component(nullptr);
    const TClassInfo& class_info = TTestComponent::ClassInfo();
    const TPropertyInfo& options = *class_info.FindProperty(L"Options");
    options.SetOrdinal(component, 0b101);
    EXPECT_EQ(component.Options(), (TOptions{TOption::opLoop, TOption::opScale}));
    const TPropertyInfo& movie = *class_info.FindProperty(L"Movie");
    movie.SetString(component, L"x.swf");
    EXPECT_EQ(component.Movie(), L"x.swf");
    EXPECT_FALSE(movie.IsDefault(component));
    const TPropertyInfo& enabled = *class_info.FindProperty(L"Enabled");
    EXPECT_TRUE(enabled.IsDefault(component));
    enabled.SetOrdinal(component, 0);
    EXPECT_FALSE(component.Enabled());
    const TPropertyInfo& count = *class_info.FindProperty(L"Count");
    component.SetCount(99);
    EXPECT_FALSE(count.Stored(component));
    EXPECT_EQ(class_info.FindProperty(L"Font")->GetObject(component), component.Font());
}
