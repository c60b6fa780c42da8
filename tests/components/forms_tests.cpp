// The components stored with their form, in the binary and the text form format, and read
// back: the same property values, the movie loaded once the form is read.
#include "test_driver.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/data_module.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/forms.h"
#include "zintara/zn_layer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::test;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

constexpr TColor Teal = 0x00998811;

class FormsTest : public ::testing::TestWithParam<TFormFormat> {
protected:
    FormsTest()
    {
        RegisterFormClasses();
        RegisterFlashPlayerClasses();
    }

    template <class TRoot>
    std::unique_ptr<TRoot> RoundTrip(TComponent& Root)
    {
        TMemoryStream stream;
        WriteComponentToStream(stream, Root, GetParam());
        stream.SetPosition(0);
        TTestDriver::Log().clear();
        std::unique_ptr<TComponent> read(ReadComponentFromStream(stream, nullptr));
        auto* typed = dynamic_cast<TRoot*>(read.get());
        EXPECT_NE(typed, nullptr);
        read.release();
        return std::unique_ptr<TRoot>(typed);
    }

    TTestDriverHosts Hosts;
};

TEST_P(FormsTest, TheVisualControlsComeBackWithTheirValues)
{
    TForm form(nullptr);
    form.SetName(L"Form1");
    auto* player = new TznFlashPlayer(&form);
    player->SetName(L"Player1");
    player->SetParent(&form);
    player->SetBounds(5, 6, 70, 50);
    player->SetDisableFlashCursor(true);
    player->SetMovie(L"clip.swf");
    player->SetSkin(L"SteelOverAll");
    player->SetVolume(80);
    player->SetTransparent(false);
    player->SetColor(Teal);
    auto* windowed = new TznFlashPlayerWnd(&form);
    windowed->SetName(L"Window1");
    windowed->SetParent(&form);
    windowed->SetTabStop(false);
    windowed->SetMovie(L"wnd.swf");
    windowed->SetPause(true);
    windowed->SetVolume(30);
    auto* layer = new TznFlashLayer(&form);
    layer->SetName(L"Layer1");
    layer->SetParent(&form);
    layer->SetMasterAlpha(90);
    layer->SetAllowDrag(false);

    const auto read = RoundTrip<TForm>(form);
    ASSERT_NE(read, nullptr);
    auto* player2 = dynamic_cast<TznFlashPlayer*>(read->FindComponent(L"Player1"));
    auto* windowed2 = dynamic_cast<TznFlashPlayerWnd*>(read->FindComponent(L"Window1"));
    auto* layer2 = dynamic_cast<TznFlashLayer*>(read->FindComponent(L"Layer1"));
    ASSERT_NE(player2, nullptr);
    ASSERT_NE(windowed2, nullptr);
    ASSERT_NE(layer2, nullptr);

    EXPECT_EQ(player2->Parent(), read.get());
    EXPECT_EQ(player2->BoundsRect(), Bounds(5, 6, 70, 50));
    EXPECT_TRUE(player2->DisableFlashCursor());
    EXPECT_TRUE(player2->DisableFlashMenu());
    EXPECT_EQ(player2->Movie(), L"clip.swf");
    EXPECT_EQ(player2->Skin(), L"SteelOverAll");
    EXPECT_EQ(player2->Volume(), 80);
    EXPECT_FALSE(player2->Transparent());
    EXPECT_EQ(player2->Color(), Teal);
    EXPECT_EQ(player2->Driver()->Width(), 70);

    EXPECT_FALSE(windowed2->TabStop());
    EXPECT_EQ(windowed2->Movie(), L"wnd.swf");
    EXPECT_TRUE(windowed2->Pause());
    EXPECT_EQ(windowed2->Volume(), 30);

    EXPECT_EQ(layer2->MasterAlpha(), 90);
    EXPECT_FALSE(layer2->AllowDrag());
    EXPECT_EQ(layer2->Align(), alClient);

    // Each movie is loaded once, by Loaded, after the whole form was read.
    EXPECT_THAT(LogLines(L"LoadMovie "),
                UnorderedElementsAre(L"LoadMovie ", L"LoadMovie ", L"LoadMovie ",
                                     L"LoadMovie clip.swf", L"LoadMovie wnd.swf", L"LoadMovie "));
}

TEST_P(FormsTest, TheNonVisualComponentComesBackWithItsValues)
{
    TDataModule module(nullptr);
    module.SetName(L"Module1");
    auto* comp = new TznFlashPlayerComp(&module);
    comp->SetName(L"Comp1");
    comp->SetPlugin(znNetscape);
    comp->SetMovie(L"comp.swf");
    comp->SetWidth(64);
    comp->SetHeight(48);
    comp->SetVolume(20);
    comp->SetSkin(L"ArcticOverAll");

    const auto read = RoundTrip<TDataModule>(module);
    ASSERT_NE(read, nullptr);
    auto* comp2 = dynamic_cast<TznFlashPlayerComp*>(read->FindComponent(L"Comp1"));
    ASSERT_NE(comp2, nullptr);
    EXPECT_EQ(comp2->Plugin(), znNetscape);
    EXPECT_EQ(comp2->Movie(), L"comp.swf");
    EXPECT_EQ(comp2->Width(), 64);
    EXPECT_EQ(comp2->Height(), 48);
    EXPECT_EQ(comp2->Volume(), 20);
    EXPECT_EQ(comp2->Skin(), L"ArcticOverAll");
    EXPECT_EQ(comp2->Driver()->Width(), 64);
    EXPECT_THAT(LogLines(L"LoadMovie comp"), ElementsAre(L"LoadMovie comp.swf"));
}

// The stored order puts Plugin after the two switches, and a new driver starts from its
// defaults: a form with another Plugin reads the switches back as the defaults. A layer's new
// driver is as transparent as its first.
TEST_P(FormsTest, APluginReadAfterTheSwitchesResetsThem)
{
    TForm form(nullptr);
    form.SetName(L"Form1");
    auto* windowed = new TznFlashPlayerWnd(&form);
    windowed->SetName(L"Window1");
    windowed->SetParent(&form);
    windowed->SetPlugin(znActiveX);
    windowed->SetDisableFlashMenu(false);
    windowed->SetDisableFlashCursor(true);
    windowed->SetSkin(L"SteelOverAll");
    auto* layer = new TznFlashLayer(&form);
    layer->SetName(L"Layer1");
    layer->SetParent(&form);
    layer->SetPlugin(znNetscape);

    const auto read = RoundTrip<TForm>(form);
    ASSERT_NE(read, nullptr);
    auto* windowed2 = dynamic_cast<TznFlashPlayerWnd*>(read->FindComponent(L"Window1"));
    ASSERT_NE(windowed2, nullptr);
    EXPECT_EQ(windowed2->Plugin(), znActiveX);
    EXPECT_TRUE(windowed2->DisableFlashMenu());
    EXPECT_FALSE(windowed2->DisableFlashCursor());
    EXPECT_EQ(windowed2->Skin(), L"SteelOverAll") << "read after Plugin, so kept";
    auto* layer2 = dynamic_cast<TznFlashLayer*>(read->FindComponent(L"Layer1"));
    ASSERT_NE(layer2, nullptr);
    EXPECT_EQ(layer2->Plugin(), znNetscape);
    EXPECT_TRUE(static_cast<TTestDriver*>(layer2->Driver())->Transparent());
    EXPECT_EQ(layer2->Driver()->Background(), 0u);
}

INSTANTIATE_TEST_SUITE_P(BinaryAndText, FormsTest,
                         ::testing::Values(TFormFormat::Binary, TFormFormat::Text),
                         [](const auto& Info) {
                             return Info.param == TFormFormat::Binary ? "Binary" : "Text";
                         });

} // namespace
