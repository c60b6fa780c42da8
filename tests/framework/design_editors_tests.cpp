// The designer side: the palette registry, the lookup of property editors and the default
// editors over one and over several selected components.
#include "test_components.h"

#include "support/recording_designer.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/design_registry.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

class TDerivedComponent : public TTestComponent {
public:
    using TTestComponent::TTestComponent;
    static const TClassInfo& ClassInfo()
    {
        static const TClassInfo info =
            DeclareClass<TDerivedComponent, TTestComponent>(L"TDerivedComponent");
        return info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }
};

// Publishes a Movie of its own, with accessors the test component's table knows nothing of.
class TOtherComponent : public TComponent {
public:
    using TComponent::TComponent;
    static const TClassInfo& ClassInfo()
    {
        using P = TPublished<TOtherComponent>;
        static const TPropertyInfo properties[] = {
            P::WideString<&TOtherComponent::Movie, &TOtherComponent::Movie>(L"Movie"),
        };
        static const TClassInfo info =
            DeclareClass<TOtherComponent, TComponent>(L"TOtherComponent", properties);
        return info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }
    std::wstring Movie;
};

class TNamedEditor : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
};
class TDerivedNamedEditor : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
};
class TTypeWideEditor : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
};
class TLaterTypeWideEditor : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
};
class TSingleOnlyEditor : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override { return {TPropertyAttribute::paDialog}; }
};

const TPropertyInfo& PropertyNamed(const TClassInfo& Class, const wchar_t* Name)
{
    const TPropertyInfo* info = Class.FindProperty(Name);
    EXPECT_NE(info, nullptr) << Name;
    return *info;
}

class DesignEditors : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (TPropertyEditorClass each :
             {&EditorClass<TNamedEditor>, &EditorClass<TDerivedNamedEditor>,
              &EditorClass<TTypeWideEditor>, &EditorClass<TLaterTypeWideEditor>,
              &EditorClass<TSingleOnlyEditor>})
            UnRegisterPropertyEditor(each);
    }
    TRecordingDesigner Designer;
    TTestComponent First{nullptr};
    TDerivedComponent Second{nullptr};
    TOtherComponent Other{nullptr};
};

} // namespace

TEST(DesignPalette, PagesAndComponentsReadBackInRegistrationOrder)
{
    RegisterComponents(L"Palette test",
                       {&TTestComponent::ClassInfo(), &TDerivedComponent::ClassInfo()});
    RegisterComponents(L"Palette test second", {&TOtherComponent::ClassInfo()});
    RegisterComponents(L"PALETTE TEST",
                       {&TOtherComponent::ClassInfo(), &TTestComponent::ClassInfo()});

    const auto& pages = PalettePages();
    auto page = std::find_if(pages.begin(), pages.end(),
                             [](const TPalettePage& Each) { return Each.Name == L"Palette test"; });
    ASSERT_NE(page, pages.end());
    ASSERT_LT(page + 1, pages.end());
    EXPECT_EQ((page + 1)->Name, L"Palette test second");
    EXPECT_EQ(page->Classes, (std::vector<const TClassInfo*>{&TTestComponent::ClassInfo(),
                                                             &TDerivedComponent::ClassInfo(),
                                                             &TOtherComponent::ClassInfo()}));
    // Registered for form reading too.
    EXPECT_EQ(GetClass(L"TDerivedComponent"), &TDerivedComponent::ClassInfo());
}

TEST_F(DesignEditors, PropertiesWithoutARegistrationGetTheDefaultForTheirType)
{
    const TClassInfo& cls = TTestComponent::ClassInfo();
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Movie")), &EditorClass<TStringProperty>);
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Count")), &EditorClass<TIntegerProperty>);
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Color")), &EditorClass<TIntegerProperty>);
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Plugin")), &EditorClass<TEnumProperty>);
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Enabled")), &EditorClass<TEnumProperty>);
    EXPECT_EQ(GetEditorClass(cls, PropertyNamed(cls, L"Options")), &EditorClass<TPropertyEditor>);
}

TEST_F(DesignEditors, TheMostSpecificRegistrationWins)
{
    const TPropertyInfo& movie = PropertyNamed(TTestComponent::ClassInfo(), L"Movie");
    const TPropertyInfo& other_movie = PropertyNamed(TOtherComponent::ClassInfo(), L"Movie");
    RegisterPropertyEditor(TTypeKind::WideString, &TTestComponent::ClassInfo(), L"movie",
                           &EditorClass<TNamedEditor>);
    RegisterPropertyEditor(TTypeKind::WideString, nullptr, L"", &EditorClass<TTypeWideEditor>);

    // Named for a class: that class and its descendants, whatever the order of registration.
    EXPECT_EQ(GetEditorClass(TTestComponent::ClassInfo(), movie), &EditorClass<TNamedEditor>);
    EXPECT_EQ(GetEditorClass(TDerivedComponent::ClassInfo(), movie), &EditorClass<TNamedEditor>);
    // An unrelated class, and another string property of the class, get the type-wide one.
    EXPECT_EQ(GetEditorClass(TOtherComponent::ClassInfo(), other_movie),
              &EditorClass<TTypeWideEditor>);
    EXPECT_EQ(GetEditorClass(TTestComponent::ClassInfo(),
                             PropertyNamed(TTestComponent::ClassInfo(), L"Items")),
              &EditorClass<TPropertyEditor>);

    // A descendant's own registration is nearer than its ancestor's.
    RegisterPropertyEditor(TTypeKind::WideString, &TDerivedComponent::ClassInfo(), L"Movie",
                           &EditorClass<TDerivedNamedEditor>);
    EXPECT_EQ(GetEditorClass(TDerivedComponent::ClassInfo(), movie),
              &EditorClass<TDerivedNamedEditor>);
    EXPECT_EQ(GetEditorClass(TTestComponent::ClassInfo(), movie), &EditorClass<TNamedEditor>);

    // Of the same rank, the later registration wins.
    RegisterPropertyEditor(TTypeKind::WideString, nullptr, L"", &EditorClass<TLaterTypeWideEditor>);
    EXPECT_EQ(GetEditorClass(TOtherComponent::ClassInfo(), other_movie),
              &EditorClass<TLaterTypeWideEditor>);

    // Unloading the editors brings the defaults back.
    UnRegisterPropertyEditor(&EditorClass<TLaterTypeWideEditor>);
    UnRegisterPropertyEditor(&EditorClass<TTypeWideEditor>);
    EXPECT_EQ(GetEditorClass(TOtherComponent::ClassInfo(), other_movie),
              &EditorClass<TStringProperty>);
}

TEST_F(DesignEditors, StringEditorReadsTheFirstAndWritesEverySelectedComponent)
{
    First.SetMovie(L"intro.swf");
    Other.Movie = L"other.swf";
    auto editor = CreatePropertyEditor(Designer, {&First, &Other}, L"Movie");
    ASSERT_NE(editor, nullptr);
    const TPropertyEditor& created = *editor;
    EXPECT_EQ(typeid(created), typeid(TStringProperty));
    EXPECT_EQ(editor->PropCount(), 2);
    EXPECT_EQ(editor->GetComponent(1), &Other);
    EXPECT_THROW(editor->GetComponent(2), EListError);
    EXPECT_EQ(editor->GetValue(), L"intro.swf");
    EXPECT_EQ(editor->GetAttributes(), (TPropertyAttributes{TPropertyAttribute::paMultiSelect,
                                                            TPropertyAttribute::paRevertable}));

    editor->SetValue(L"loop.flv");
    EXPECT_EQ(First.Movie(), L"loop.flv");
    EXPECT_EQ(Other.Movie, L"loop.flv");
    EXPECT_EQ(Designer.ModifiedCalls, 1);

    auto single = CreatePropertyEditor(Designer, {&Other}, L"Movie");
    single->SetValue(L"");
    EXPECT_EQ(Other.Movie, L"");
    EXPECT_EQ(First.Movie(), L"loop.flv");
    EXPECT_EQ(Designer.ModifiedCalls, 2);
}

TEST_F(DesignEditors, TheInspectorShowsOnlyPropertiesEverySelectedObjectSharesOneEditorFor)
{
    EXPECT_EQ(CreatePropertyEditor(Designer, {}, L"Movie"), nullptr);
    EXPECT_EQ(CreatePropertyEditor(Designer, {&First, &Other}, L"Count"), nullptr);
    EXPECT_EQ(CreatePropertyEditor(Designer, {&First}, L"NoSuchProperty"), nullptr);

    RegisterPropertyEditor(TTypeKind::WideString, &TTestComponent::ClassInfo(), L"Movie",
                           &EditorClass<TSingleOnlyEditor>);
    // The editors differ between the two classes.
    EXPECT_EQ(CreatePropertyEditor(Designer, {&First, &Other}, L"Movie"), nullptr);
    // Same editor, but it does not allow several objects at once.
    EXPECT_EQ(CreatePropertyEditor(Designer, {&First, &Second}, L"Movie"), nullptr);
    auto single = CreatePropertyEditor(Designer, {&Second}, L"Movie");
    ASSERT_NE(single, nullptr);
    const TPropertyEditor& created = *single;
    EXPECT_EQ(typeid(created), typeid(TSingleOnlyEditor));
}

TEST_F(DesignEditors, EnumerationAndBooleanEditorsOfferTheirValueNames)
{
    auto plugin = CreatePropertyEditor(Designer, {&First, &Second}, L"Plugin");
    ASSERT_NE(plugin, nullptr);
    EXPECT_TRUE(plugin->GetAttributes().Contains(TPropertyAttribute::paValueList));
    std::vector<std::wstring> values;
    plugin->GetValues([&](const std::wstring& Value) { values.push_back(Value); });
    EXPECT_EQ(values, (std::vector<std::wstring>{L"znDefault", L"znNetscape", L"znActiveX"}));
    EXPECT_EQ(plugin->GetValue(), L"znDefault");

    plugin->SetValue(L"ZNACTIVEX");
    EXPECT_EQ(First.Plugin(), znActiveX);
    EXPECT_EQ(Second.Plugin(), znActiveX);
    EXPECT_EQ(plugin->GetValue(), L"znActiveX");
    EXPECT_THROW(plugin->SetValue(L"znOther"), EPropertyError);
    EXPECT_EQ(First.Plugin(), znActiveX);
    EXPECT_EQ(Designer.ModifiedCalls, 1);

    auto enabled = CreatePropertyEditor(Designer, {&First}, L"Enabled");
    values.clear();
    enabled->GetValues([&](const std::wstring& Value) { values.push_back(Value); });
    EXPECT_EQ(values, (std::vector<std::wstring>{L"False", L"True"}));
    enabled->SetValue(L"false");
    EXPECT_FALSE(First.Enabled());
    EXPECT_EQ(enabled->GetValue(), L"False");
}

TEST_F(DesignEditors, IntegerEditorKeepsToTheRangeOfItsType)
{
    auto count = CreatePropertyEditor(Designer, {&First}, L"Count");
    count->SetValue(L"-2147483648");
    EXPECT_EQ(First.Count(), -2147483647 - 1);
    EXPECT_EQ(count->GetValue(), L"-2147483648");
    for (const wchar_t* bad : {L"", L"12x", L"2147483648", L"99999999999999999999"})
        EXPECT_THROW(count->SetValue(bad), EConvertError) << bad;
    EXPECT_EQ(First.Count(), -2147483647 - 1);

    auto color = CreatePropertyEditor(Designer, {&First}, L"Color");
    color->SetValue(L"4294967295");
    EXPECT_EQ(First.Color(), 0xFFFFFFFFu);
    EXPECT_THROW(color->SetValue(L"-1"), EConvertError);
    EXPECT_EQ(Designer.ModifiedCalls, 2);
}

TEST_F(DesignEditors, OtherKindsGetAReadOnlyEditor)
{
    auto font = CreatePropertyEditor(Designer, {&First}, L"Font");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetAttributes(), TPropertyAttributes{TPropertyAttribute::paReadOnly});
    EXPECT_EQ(font->GetValue(), L"(TTestFont)");
    font->SetValue(L"x");
    EXPECT_EQ(Designer.ModifiedCalls, 0);
}
