// The skin editor through the designer's interface on real players, alone and selected together
// with players of other classes, and what it does with the errors of a player's Skin.
#include "support/dialog_answerer.h"
#include "support/recording_designer.h"

#include "zintara/framework/application.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/forms.h"
#include "zintara/framework/properties.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"
#include "zintara/zn_layer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <typeinfo>

using namespace zn;
using namespace zn::test;

namespace {

// A player whose Skin fails as told: with a framework error or with some other exception.
class TFailingSkinPlayer : public TznFlashPlayerComp {
public:
    using TznFlashPlayerComp::TznFlashPlayerComp;
    static const TClassInfo& ClassInfo()
    {
        using P = TPublished<TFailingSkinPlayer>;
        static const TPropertyInfo properties[] = {
            P::WideString<&TFailingSkinPlayer::FailingSkin, &TFailingSkinPlayer::SetFailingSkin>(
                L"Skin"),
        };
        static const TClassInfo info =
            DeclareClass<TFailingSkinPlayer, TznFlashPlayerComp>(L"TFailingSkinPlayer", properties);
        return info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }

    std::wstring FailingSkin() const
    {
        Fail();
        return Skin();
    }
    void SetFailingSkin(const std::wstring& Value)
    {
        Fail();
        SetSkin(Value);
    }

    enum { Nothing, FrameworkError, OtherError } Failure = Nothing;

private:
    void Fail() const
    {
        if (Failure == FrameworkError)
            throw EInvalidOperation(L"The skin cannot be changed now");
        if (Failure == OtherError)
            throw std::logic_error("not a framework error");
    }
};

class SkinEditor : public ::testing::Test {
protected:
    SkinEditor()
    {
        Register();
        Player->SetParent(&Form);
    }

    TApplication App{nullptr};
    TRecordingDesigner Designer;
    TForm Form{nullptr};
    TznFlashPlayer* Player = new TznFlashPlayer(&Form);
    TznFlashPlayerComp* Comp = new TznFlashPlayerComp(&Form);
    TFailingSkinPlayer* Failing = new TFailingSkinPlayer(&Form);
};

} // namespace

TEST_F(SkinEditor, PicksOneOfTheFourSkinsForPlayersOfDifferentClasses)
{
    auto editor = CreatePropertyEditor(Designer, {Player, Comp}, L"Skin");
    ASSERT_NE(editor, nullptr);
    const TPropertyEditor& created = *editor;
    EXPECT_EQ(typeid(created), typeid(TznSkinProperty));
    EXPECT_EQ(editor->GetAttributes(), (TPropertyAttributes{TPropertyAttribute::paValueList,
                                                            TPropertyAttribute::paMultiSelect,
                                                            TPropertyAttribute::paRevertable}));
    std::vector<std::wstring> values;
    editor->GetValues([&](const std::wstring& Value) { values.push_back(Value); });
    EXPECT_EQ(values, (std::vector<std::wstring>{L"ClearOverAll", L"SteelOverAll", L"MojaveOverAll",
                                                 L"ArcticOverAll"}));
    EXPECT_EQ(editor->GetValue(), L"ClearOverAll");

    editor->SetValue(L"MojaveOverAll");
    EXPECT_EQ(Player->Skin(), L"MojaveOverAll");
    EXPECT_EQ(Comp->Skin(), L"MojaveOverAll");
    EXPECT_EQ(Designer.ModifiedCalls, 1);
    // A skin of the application's own is passed on as typed.
    editor->SetValue(L"MySkin");
    EXPECT_EQ(editor->GetValue(), L"MySkin");
    EXPECT_EQ(Comp->Skin(), L"MySkin");

    auto* windowed = new TznFlashPlayerWnd(&Form);
    windowed->SetParent(&Form);
    EXPECT_NE(CreatePropertyEditor(Designer, {Player, windowed, Comp}, L"Skin"), nullptr);
}

TEST_F(SkinEditor, TheLayerKeepsThePlainStringEditor)
{
    auto* layer = new TznFlashLayer(&Form);
    // Their editors differ, so the inspector offers Skin for neither.
    EXPECT_EQ(CreatePropertyEditor(Designer, {Player, layer}, L"Skin"), nullptr);
    auto plain = CreatePropertyEditor(Designer, {layer}, L"Skin");
    ASSERT_NE(plain, nullptr);
    const TPropertyEditor& created = *plain;
    EXPECT_EQ(typeid(created), typeid(TStringProperty));
}

TEST_F(SkinEditor, FrameworkErrorsAreShownAndTheDesignerCarriesOn)
{
    auto editor = CreatePropertyEditor(Designer, {Comp, Failing}, L"Skin");
    ASSERT_NE(editor, nullptr);
    Failing->Failure = TFailingSkinPlayer::FrameworkError;
    {
        TDialogAnswerer answerer({PressOk(), PressOk()});
        editor->SetValue(L"SteelOverAll");
        auto single = CreatePropertyEditor(Designer, {Failing}, L"Skin");
        EXPECT_EQ(single->GetValue(), L"");
        const auto seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].Text, L"The skin cannot be changed now");
        EXPECT_EQ(seen[1].Text, L"The skin cannot be changed now");
    }
    // The player before the failing one took the skin: the designer must know that the form
    // changed.
    EXPECT_EQ(Comp->Skin(), L"SteelOverAll");
    EXPECT_EQ(Designer.ModifiedCalls, 1);
}

TEST_F(SkinEditor, OtherExceptionsPassToTheDesigner)
{
    auto editor = CreatePropertyEditor(Designer, {Failing}, L"Skin");
    Failing->Failure = TFailingSkinPlayer::OtherError;
    TDialogAnswerer answerer({});
    EXPECT_THROW(editor->SetValue(L"SteelOverAll"), std::logic_error);
    EXPECT_THROW(editor->GetValue(), std::logic_error);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(Designer.ModifiedCalls, 0);
}
