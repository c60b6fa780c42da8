// The designer's windows driven as a user drives them: mouse messages through the thread's
// queue reach the designer and never the controls being designed, the selection is drawn as
// handle windows, and the inspector's fields store values through the editors, with an
// editor's error shown in a message box.
#include "designer_window.h"

#include "support/dialog_answerer.h"
#include "support/scratch_folder.h"

#include "zintara/framework/application.h"
#include "zintara/framework/file_stream.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"
#include "zintara/zn_layer.h"

#include "sample_movies.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zn;
using namespace zn::zindesign;

namespace {

// What a control would have seen of the mouse.
struct TMouseRecorder {
    int Presses = 0;
    void MouseDown(TObject*, TMouseButton, TShiftState, int, int) { ++Presses; }
};

// The designer's handles, icons and outlines are plain static windows on the form.
BOOL CALLBACK CollectStatic(HWND Child, LPARAM List)
{
    wchar_t name[16] = {};
    GetClassNameW(Child, name, 16);
    if (std::wstring(name) == L"Static")
        reinterpret_cast<std::vector<HWND>*>(List)->push_back(Child);
    return TRUE;
}

class DesignerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        Register();
        RegisterFormClasses();
    }
    void SetUp() override
    {
        Application.Initialize();
        Window = std::make_unique<TDesignerWindow>(nullptr);
        Window->Show();
        Pump();
    }

    TFormDesigner& Designer() { return Window->Designer(); }
    HWND Form() { return Designer().Form().Handle(); }
    void Pump()
    {
        for (int i = 0; i < 5; ++i) {
            Application.ProcessMessages();
            Sleep(5);
        }
    }
    void Post(HWND Target, UINT Message, WPARAM Keys, TPoint At)
    {
        PostMessageW(Target, Message, Keys, MAKELPARAM(At.X, At.Y));
    }
    void Press(HWND Target, TPoint At, WPARAM Keys = 0)
    {
        Post(Target, WM_LBUTTONDOWN, MK_LBUTTON | Keys, At);
        Post(Target, WM_LBUTTONUP, Keys, At);
        Pump();
    }
    template <class T>
    T* Drop(TPoint At)
    {
        SendMessageW(Window->Palette().ButtonOf(T::ClassInfo()), BM_CLICK, 0, 0);
        Press(Form(), At);
        return dynamic_cast<T*>(Designer().Selection().front());
    }
    // Types Text into the chosen property's field and presses Enter.
    void Type(const std::wstring& Property, const std::wstring& Text)
    {
        ASSERT_TRUE(Window->Inspector().ChooseProperty(Property));
        SetWindowTextW(Window->Inspector().ValueEdit(), Text.c_str());
        SendMessageW(Window->Inspector().ValueEdit(), WM_KEYDOWN, VK_RETURN, 0);
    }
    std::vector<HWND> Decorations()
    {
        std::vector<HWND> found;
        EnumChildWindows(Form(), &CollectStatic, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    TApplication Application{nullptr};
    std::unique_ptr<TDesignerWindow> Window;
};

} // namespace

TEST_F(DesignerWindowTest, TheMouseOnAPlayersWindowMovesItAndNeverReachesIt)
{
    auto* player = Drop<TznFlashPlayerWnd>({40, 40});
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(player->HandleAllocated());
    TMouseRecorder recorder;
    player->OnMouseDown = TMouseEvent::Bind<&TMouseRecorder::MouseDown>(&recorder);
    Press(Form(), {400, 300});
    ASSERT_EQ(Designer().Selection().front(), &Designer().Form());

    // The press in the player's own coordinates, as the window system posts it; the form has
    // the capture from then on.
    Post(player->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, {5, 5});
    Pump();
    EXPECT_EQ(GetCapture(), Form());
    Post(Form(), WM_MOUSEMOVE, MK_LBUTTON, {65, 55});
    Post(Form(), WM_LBUTTONUP, 0, {65, 55});
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Designer().Selection(), TDesignerSelection{player});
    EXPECT_EQ(player->BoundsRect(), Bounds(60, 50, 100, 100));
    EXPECT_EQ(recorder.Presses, 0);
}

TEST_F(DesignerWindowTest, DeleteRemovesTheSelectionAndTheFormCannotBeClosed)
{
    Drop<TznFlashPlayerWnd>({40, 40});
    PostMessageW(Form(), WM_KEYDOWN, VK_DELETE, 0);
    PostMessageW(Form(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(Designer().Form().ComponentCount(), 0);
    EXPECT_TRUE(Decorations().empty());
    EXPECT_TRUE(IsWindowVisible(Form()));
}

TEST_F(DesignerWindowTest, TheSelectionIsDrawnAsHandlesAndTheLayerAsAnOutline)
{
    Drop<TznFlashPlayer>({40, 40});
    EXPECT_EQ(Decorations().size(), 8u);
    Drop<TznFlashList>({300, 20});
    Press(Form(), {50, 50}, MK_SHIFT);
    EXPECT_EQ(Decorations().size(), 1u + 16u) << "the icon, and the handles of both";

    auto* layer = Drop<TznFlashLayer>({200, 200});
    EXPECT_EQ(Decorations().size(), 1u + 4u + 8u) << "the icon, the outline, the handles";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(layer->Handle(), region), NULLREGION);
    DeleteObject(region);
    EXPECT_EQ(GetWindow(layer->Handle(), GW_HWNDNEXT), nullptr) << "at the back";
}

TEST_F(DesignerWindowTest, TheInspectorStoresTypedTextAndValuesPickedFromTheList)
{
    auto* player = Drop<TznFlashPlayer>({40, 40});
    Type(L"Width", L"150");
    EXPECT_EQ(player->Width(), 150);
    EXPECT_FALSE(IsWindowVisible(Window->Inspector().DialogButton()));

    ASSERT_TRUE(Window->Inspector().ChooseProperty(L"Skin"));
    HWND list = Window->Inspector().ValueList();
    ASSERT_TRUE(IsWindowVisible(list));
    ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);
    wchar_t last[32] = {};
    SendMessageW(list, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(last));
    EXPECT_STREQ(last, L"ArcticOverAll") << "in the editor's order, not sorted";
    SendMessageW(list, CB_SETCURSEL, 3, 0);
    SendMessageW(Window->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(player->Skin(), L"ArcticOverAll");
    EXPECT_TRUE(Designer().IsModified());
}

TEST_F(DesignerWindowTest, AnEditorsErrorIsShownInAMessageBoxAndTheValueStays)
{
    auto* player = Drop<TznFlashPlayer>({40, 40});
    {
        test::TDialogAnswerer answerer({test::PressOk(), test::PressOk()});
        Type(L"Width", L"wide");
        Type(L"Name", L"2nd");
        ASSERT_EQ(answerer.Seen().size(), 2u);
        EXPECT_NE(answerer.Seen()[1].Text.find(L"2nd"), std::wstring::npos);
    }
    EXPECT_EQ(player->Width(), 100);
    EXPECT_EQ(player->Name(), L"znFlashPlayer1");
    // The line shows the value again, not the refused text.
    wchar_t shown[32] = {};
    GetWindowTextW(Window->Inspector().ValueEdit(), shown, 32);
    EXPECT_STREQ(shown, L"znFlashPlayer1");
}

TEST_F(DesignerWindowTest, TheCollectionButtonAddsAnItemWhoseFileIsChosenInTheOpenDialog)
{
    test::TScratchFolder folder;
    const std::vector<std::uint8_t> bytes = swf::samples::SampleMovie();
    {
        TFileStream file(folder / L"intro.swf", fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    auto* list = Drop<TznFlashList>({20, 20});
    ASSERT_TRUE(Window->Inspector().ChooseProperty(L"Flashs"));
    EXPECT_TRUE(IsWindowVisible(Window->Inspector().DialogButton()));
    Window->Inspector().PickCollectionItem(-1);
    ASSERT_EQ(list->Flashs()->Count(), 1);
    EXPECT_EQ(Designer().Selection(), TDesignerSelection{list->Flashs()->GetItem(0)});

    ASSERT_TRUE(Window->Inspector().ChooseProperty(L"FlashStore"));
    {
        test::TDialogAnswerer answerer({test::ChooseFile(folder / L"intro.swf")});
        SendMessageW(Window->Inspector().DialogButton(), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(list->Flashs()->GetItem(0)->GetFlashStore(), L"intro.swf");
    wchar_t shown[32] = {};
    GetWindowTextW(Window->Inspector().ValueEdit(), shown, 32);
    EXPECT_STREQ(shown, L"intro.swf");
}
