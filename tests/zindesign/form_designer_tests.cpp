// The designer's model on the registered components: drops in design state, selection with
// Shift, moves and sizes with the mouse, the inspector's rows and their editors, and a form
// designed that way, saved, read back by the run-time and played.
#include "form_designer.h"

#include "support/dialog_answerer.h"
#include "support/scratch_folder.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"
#include "zintara/zn_layer.h"

#include "sample_movies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zn;
using namespace zn::zindesign;
using enum TPropertyAttribute;

namespace {

class FormDesignerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Register();
        RegisterFormClasses();
    }
    // As in the designer, COM is there for the players' hosts, whichever test ran before.
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    template <class T>
    T* Drop(TPoint At)
    {
        Designer.SetPaletteChoice(&T::ClassInfo());
        Designer.MouseDown(At, false);
        Designer.MouseUp(At);
        return dynamic_cast<T*>(Designer.Selection().front());
    }
    void Click(TPoint At, bool Shift = false)
    {
        Designer.MouseDown(At, Shift);
        Designer.MouseUp(At);
    }
    void Drag(TPoint From, TPoint To)
    {
        Designer.MouseDown(From, false);
        Designer.MouseMove(TPoint{(From.X + To.X) / 2, (From.Y + To.Y) / 2});
        Designer.MouseUp(To);
    }
    TDesignerSelection Selected(std::initializer_list<TPersistent*> Objects) { return Objects; }

    // The row of property Name for the current selection; a failed expectation when none.
    TInspectorRow Row(const std::wstring& Name)
    {
        for (TInspectorRow& row : Rows = Designer.InspectorRows())
            if (row.Name == Name)
                return std::move(row);
        ADD_FAILURE() << "no row " << std::string(Name.begin(), Name.end());
        return {};
    }
    bool HasRow(const std::wstring& Name)
    {
        Rows = Designer.InspectorRows();
        return std::any_of(Rows.begin(), Rows.end(),
                           [&](const TInspectorRow& Each) { return Each.Name == Name; });
    }

    TFormDesigner Designer;
    std::vector<TInspectorRow> Rows;
};

void WriteSampleMovie(const std::wstring& Path)
{
    const std::vector<std::uint8_t> bytes = swf::samples::SampleMovie();
    TFileStream file(Path, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

} // namespace

TEST_F(FormDesignerTest, EachPaletteComponentIsDroppedInDesignStateNamedAfterItsClass)
{
    const TPalettePage& page = PalettePages().front();
    ASSERT_EQ(page.Name, ZintaraPalettePage);
    int x = 10;
    for (const TClassInfo* info : page.Classes) {
        Designer.SetPaletteChoice(info);
        Designer.MouseDown(TPoint{x, 40}, false);
        EXPECT_EQ(Designer.PaletteChoice(), nullptr) << "one press, one drop";
        ASSERT_EQ(Designer.Selection().size(), 1u);
        auto* dropped = dynamic_cast<TComponent*>(Designer.Selection().front());
        ASSERT_NE(dropped, nullptr);
        EXPECT_EQ(&dropped->ClassType(), info);
        EXPECT_EQ(dropped->Owner(), &Designer.Form());
        EXPECT_TRUE(dropped->ComponentState().Contains(csDesigning)) << info->Name;
        EXPECT_EQ(dropped->Name(), std::wstring(info->Name).substr(1) + L"1");
        if (auto* control = dynamic_cast<TControl*>(dropped)) {
            EXPECT_EQ(control->Parent(), &Designer.Form());
            if (control->Align() == alNone) {
                EXPECT_EQ(control->BoundsRect().Left, x);
            }
        } else {
            EXPECT_EQ(Designer.DesignBounds(*dropped), Bounds(x, 40, IconExtent, IconExtent));
        }
        x += 110;
    }
    EXPECT_EQ(Drop<TznFlashPlayer>({0, 300})->Name(), L"znFlashPlayer2");
    EXPECT_TRUE(Designer.IsModified());
}

TEST_F(FormDesignerTest, ClicksSelectAndShiftAddsOrRemoves)
{
    auto* player = Drop<TznFlashPlayer>({10, 10});
    auto* window = Drop<TznFlashPlayerWnd>({200, 10});
    Click({20, 20});
    EXPECT_EQ(Designer.Selection(), Selected({player}));
    Click({210, 20}, true);
    EXPECT_EQ(Designer.Selection(), Selected({player, window}));
    Click({20, 20}, true);
    EXPECT_EQ(Designer.Selection(), Selected({window}));
    Click({400, 300}, true);
    EXPECT_EQ(Designer.Selection(), Selected({window})) << "Shift on the bare form changes nothing";
    Click({210, 20}, true);
    EXPECT_EQ(Designer.Selection(), Selected({&Designer.Form()})) << "nothing left: the form";
    Click({20, 20}, true);
    EXPECT_EQ(Designer.Selection(), Selected({player})) << "the form is never selected with others";
    Click({400, 300});
    EXPECT_EQ(Designer.Selection(), Selected({&Designer.Form()}));
}

TEST_F(FormDesignerTest, DraggingMovesTheSelectionAndAHandleSizesASingleControl)
{
    auto* player = Drop<TznFlashPlayer>({10, 10});
    auto* list = Drop<TznFlashList>({300, 300});
    auto* window = Drop<TznFlashPlayerWnd>({200, 10});
    Click({20, 20}, true);
    Click({305, 305}, true);
    Designer.Save(test::TScratchFolder() / L"unused.dfm", TFormFormat::Binary);
    ASSERT_FALSE(Designer.IsModified());

    Drag({50, 50}, {65, 70});
    EXPECT_EQ(player->BoundsRect(), Bounds(25, 30, 100, 100));
    EXPECT_EQ(window->BoundsRect(), Bounds(215, 30, 100, 100));
    EXPECT_EQ(Designer.DesignBounds(*list), Bounds(315, 320, IconExtent, IconExtent));
    EXPECT_TRUE(Designer.IsModified());

    // Handles size only a single selected control: here the press moves all three.
    Drag({124, 129}, {134, 129});
    EXPECT_EQ(player->BoundsRect(), Bounds(35, 30, 100, 100));

    // A press on a control of the selection keeps the selection (to move it): the bare form first.
    Click({300, 40});
    EXPECT_EQ(Designer.Selection().size(), 3u);
    Click({450, 300});
    Click({300, 40});
    ASSERT_EQ(Designer.Selection(), Selected({window}));
    Drag({325, 130}, {355, 180});
    EXPECT_EQ(window->BoundsRect(), Bounds(225, 30, 130, 150));
    Drag({225, 105}, {400, 105});
    EXPECT_EQ(window->BoundsRect(), Rect(355 - MinimumExtent, 30, 355, 180));
}

TEST_F(FormDesignerTest, IconsLieOverControlsAndAControlFillingTheFormUnderThem)
{
    auto* layer = Drop<TznFlashLayer>({5, 5});
    auto* player = Drop<TznFlashPlayer>({10, 10});
    auto* list = Drop<TznFlashList>({20, 20});
    EXPECT_EQ(layer->Align(), alClient);
    EXPECT_EQ(Designer.ComponentAt({25, 25}), list);
    EXPECT_EQ(Designer.ComponentAt({100, 100}), player);
    EXPECT_EQ(Designer.ComponentAt({300, 300}), layer);
}

TEST_F(FormDesignerTest, DeletingFreesTheSelectionButNeverTheForm)
{
    auto* list = Drop<TznFlashList>({300, 300});
    Designer.AddItem(*list->Flashs());
    Designer.AddItem(*list->Flashs());
    Designer.DeleteSelection();
    EXPECT_EQ(list->Flashs()->Count(), 1);
    EXPECT_EQ(Designer.Selection(), Selected({&Designer.Form()}));

    Drop<TznFlashPlayer>({10, 10});
    Click({305, 305}, true);
    // A list selected with one of its items: the item is freed once, not again with its list.
    Designer.ToggleSelection(list->Flashs()->GetItem(0));
    Designer.DeleteSelection();
    EXPECT_EQ(Designer.Form().ComponentCount(), 0);
    EXPECT_EQ(Designer.Form().ControlCount(), 0);
    EXPECT_TRUE(Designer.NonVisualComponents().empty());
    Designer.DeleteSelection();
    EXPECT_EQ(Designer.Selection(), Selected({&Designer.Form()}));
}

TEST_F(FormDesignerTest, TheInspectorShowsWhatEveryEditorAcceptsForTheWholeSelection)
{
    auto* player = Drop<TznFlashPlayer>({10, 10});
    auto* comp = Drop<TznFlashPlayerComp>({300, 10});
    auto* layer = Drop<TznFlashLayer>({0, 0});

    Click({20, 20});
    TInspectorRow width = Row(L"Width");
    EXPECT_EQ(width.Value, L"100");
    width.Editor->SetValue(L"240");
    EXPECT_EQ(player->Width(), 240);
    EXPECT_TRUE(HasRow(L"Align"));

    Click({305, 15}, true);
    EXPECT_FALSE(HasRow(L"Align")) << "the non-visual player has none";
    EXPECT_FALSE(HasRow(L"Name")) << "one name cannot go to two components";
    TInspectorRow skin = Row(L"Skin");
    EXPECT_EQ(skin.Attributes, (TPropertyAttributes{paValueList, paMultiSelect, paRevertable}));
    std::vector<std::wstring> skins;
    skin.Editor->GetValues([&](const std::wstring& Value) { skins.push_back(Value); });
    EXPECT_EQ(skins, (std::vector<std::wstring>{L"ClearOverAll", L"SteelOverAll", L"MojaveOverAll",
                                                L"ArcticOverAll"}));
    skin.Editor->SetValue(L"MojaveOverAll");
    EXPECT_EQ(player->Skin(), L"MojaveOverAll");
    EXPECT_EQ(comp->Skin(), L"MojaveOverAll");
    EXPECT_EQ(Row(L"Skin").Value, L"MojaveOverAll");

    // The layer's Skin has another editor: the row is left out, Movie stays.
    Designer.SelectOnly(player);
    Designer.ToggleSelection(layer);
    EXPECT_FALSE(HasRow(L"Skin"));
    Row(L"Movie").Editor->SetValue(L"both.swf");
    EXPECT_EQ(layer->Movie(), L"both.swf");
    EXPECT_EQ(player->Movie(), L"both.swf");
}

// The whole way: a form laid out with the mouse and edited through the inspector, a file
// embedded through its editor and the real open dialog, saved in both forms, read back by the
// run-time with the designer's form gone, and the non-visual player playing the embedded movie.
TEST_F(FormDesignerTest, ADesignedFormIsReadBackAndPlayedByTheRunTime)
{
    test::TScratchFolder folder;
    const std::wstring movie = folder / L"designed.swf";
    WriteSampleMovie(movie);

    Drop<TznFlashList>({8, 8});
    TInspectorRow flashs = Row(L"Flashs");
    ASSERT_NE(flashs.Collection, nullptr);
    Designer.AddItem(*flashs.Collection);
    TInspectorRow store = Row(L"FlashStore");
    ASSERT_TRUE(store.Attributes.Contains(paDialog));
    {
        test::TDialogAnswerer answerer({test::ChooseFile(movie)});
        store.Editor->Edit();
        EXPECT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_EQ(Row(L"FlashStore").Value, L"designed.swf");
    DeleteFileW(movie.c_str());

    Drop<TznFlashPlayerComp>({48, 8});
    Row(L"Width").Editor->SetValue(L"320");
    Row(L"Height").Editor->SetValue(L"240");
    Row(L"Movie").Editor->SetValue(L"designed.swf");
    Row(L"Skin").Editor->SetValue(L"SteelOverAll");
    Drop<TznFlashPlayerWnd>({100, 100});
    Drag({150, 150}, {160, 170});
    Drag({210, 220}, {250, 240});

    for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
        const std::wstring file = folder / (format == TFormFormat::Binary ? L"b.dfm" : L"t.dfm");
        Designer.Save(file, format);
        EXPECT_FALSE(Designer.IsModified());
    }
    Designer.NewForm();

    for (const wchar_t* name : {L"b.dfm", L"t.dfm"}) {
        SCOPED_TRACE(std::string(name, name + 5));
        TForm form(nullptr);
        ReadComponentFromFile(folder / name, &form);
        auto* list = dynamic_cast<TznFlashList*>(form.FindComponent(L"znFlashList1"));
        auto* comp = dynamic_cast<TznFlashPlayerComp*>(form.FindComponent(L"znFlashPlayerComp1"));
        auto* window = dynamic_cast<TznFlashPlayerWnd*>(form.FindComponent(L"znFlashPlayerWnd1"));
        ASSERT_TRUE(list && comp && window);
        EXPECT_FALSE(comp->ComponentState().Contains(csDesigning));
        EXPECT_EQ(window->BoundsRect(), Rect(110, 120, 250, 240));
        ASSERT_EQ(list->Flashs()->Count(), 1);
        EXPECT_EQ(list->Flashs()->GetItem(0)->GetFlashStore(), L"designed.swf");
        EXPECT_EQ(list->Flashs()->GetItem(0)->Flash().Size(),
                  static_cast<std::int64_t>(swf::samples::SampleMovie().size()));
        EXPECT_EQ(comp->Skin(), L"SteelOverAll");

        // Played by a Flash host, whichever the library picked.
        ASSERT_TRUE(dynamic_cast<TznFlashDriverNS*>(comp->Driver()) ||
                    dynamic_cast<TznFlashDriverActiveX*>(comp->Driver()));
        comp->StopPlay();
        comp->Rewind();
        comp->Driver()->ForceUpdate();
        // The green square of the sample movie, served from the form's own bytes.
        const std::uint32_t pixel = static_cast<const std::uint32_t*>(comp->Scanline(150))[150];
        EXPECT_EQ(pixel & 0xFF00FF00u, 0xFF00B400u & 0xFF00FF00u) << std::hex << pixel;
    }
}

TEST_F(FormDesignerTest, OpeningPutsTheFormInDesignStateOrKeepsTheCurrentOneOnFailure)
{
    test::TScratchFolder folder;
    Drop<TznFlashPlayerComp>({200, 200});
    Drop<TznFlashList>({300, 300});
    Designer.Save(folder / L"two.dfm", TFormFormat::Text);

    Designer.Open(folder / L"two.dfm");
    TForm& opened = Designer.Form();
    ASSERT_EQ(opened.ComponentCount(), 2);
    for (TComponent* component : Designer.NonVisualComponents())
        EXPECT_TRUE(component->ComponentState().Contains(csDesigning));
    // A form file keeps no place for the icons: they come in a row.
    EXPECT_EQ(Designer.DesignBounds(*opened.Components(0)).Top,
              Designer.DesignBounds(*opened.Components(1)).Top);
    EXPECT_EQ(Designer.Selection(), Selected({&opened}));
    EXPECT_FALSE(Designer.IsModified());

    {
        TFileStream broken(folder / L"broken.dfm", fmCreate);
        broken.WriteBuffer("object Form1: TForm\n  Width = ", 31);
    }
    EXPECT_THROW(Designer.Open(folder / L"broken.dfm"), EFilerError);
    EXPECT_EQ(&Designer.Form(), &opened);
    EXPECT_EQ(opened.ComponentCount(), 2);
}
