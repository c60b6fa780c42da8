// Input: mouse messages routed to graphic children and turned into clicks, the wheel, keys with
// their hooks and events, focus, tab stops, and dragging one control onto another.
#include "zintara/framework/forms.h"

#include "test_controls.h"
#include "support/test_surface.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

namespace {

class TKeyLog : public TObject {
public:
    std::vector<std::string> Entries;
    void KeyDown(TObject*, std::uint16_t& Key, TShiftState Shift)
    {
        Entries.push_back("down " + std::to_string(Key) + (Shift.Contains(ssAlt) ? " alt" : ""));
    }
    void KeyUp(TObject*, std::uint16_t& Key, TShiftState)
    {
        Entries.push_back("up " + std::to_string(Key));
    }
    void KeyPress(TObject*, wchar_t& Key)
    {
        Entries.push_back("press " + std::to_string(Key));
        if (Key == L'x')
            Key = 0;
    }
    void Wheel(TObject*, TShiftState, int Delta, TPoint, bool& Handled)
    {
        Entries.push_back("wheel " + std::to_string(Delta));
        Handled = true;
    }
};

class InputTest : public ::testing::Test {
protected:
    TForm Form{nullptr};
    TTestShape* Shape = nullptr;
    TTestPanel* Panel = nullptr;
    TTestPanel* Other = nullptr;
    TKeyLog Log;

    void SetUp() override
    {
        Form.SetBounds(50, 50, 300, 200);
        Shape = new TTestShape(&Form);
        Shape->SetBounds(20, 30, 40, 40);
        Shape->SetParent(&Form);
        Panel = new TTestPanel(&Form);
        Panel->SetBounds(150, 10, 60, 60);
        Panel->SetTabStop(true);
        Panel->SetParent(&Form);
        Other = new TTestPanel(&Form);
        Other->SetBounds(150, 100, 60, 60);
        Other->SetTabStop(true);
        Other->SetParent(&Form);
        Form.Show();
        PumpMessages();
    }
    LRESULT Send(TWinControl& Target, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        return SendMessageW(Target.Handle(), Msg, WParam, LParam);
    }
};

} // namespace

TEST_F(InputTest, MouseMessagesReachTheGraphicChildUnderTheMouseInItsCoordinates)
{
    Send(Form, WM_MOUSEMOVE, 0, PointToLParam(25, 35));
    Send(Form, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(30, 40));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(31, 41));
    Send(Form, WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(21, 31));
    Send(Form, WM_RBUTTONUP, 0, PointToLParam(21, 31));
    Send(Form, WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(22, 32));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(22, 32));
    EXPECT_EQ(Shape->Log,
              (std::vector<std::string>{"move 5,5", "down left 10,10", "click", "up left 11,11",
                                        "down right 1,1", "up right 1,1", "down left 2,2 double",
                                        "click", "up left 2,2"}));
    Send(Form, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(100, 100));
    EXPECT_EQ(Shape->Log.size(), 9u) << "a press beside the child is the form's";
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(100, 100));
}

TEST_F(InputTest, APressedButtonKeepsTalkingToItsChildAndReleasingOutsideIsNoClick)
{
    Send(Form, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(30, 40));
    EXPECT_EQ(GetCapture(), Form.Handle());
    Send(Form, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(100, 120));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(100, 120));
    EXPECT_EQ(Shape->Log,
              (std::vector<std::string>{"down left 10,10", "move 80,90", "up left 80,90"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, DisabledOrHiddenGraphicChildrenGetNoMouse)
{
    Shape->SetEnabled(false);
    Send(Form, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(30, 40));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(30, 40));
    Shape->SetEnabled(true);
    Shape->SetVisible(false);
    Send(Form, WM_MOUSEMOVE, 0, PointToLParam(30, 40));
    EXPECT_TRUE(Shape->Log.empty());
}

TEST_F(InputTest, TheWheelGoesToTheGraphicChildUnderTheMouseInScreenCoordinates)
{
    TPoint screen = Form.ClientToScreen(TPoint{30, 40});
    Shape->HandleWheel = true;
    LRESULT handled =
        Send(Form, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint16_t>(-120)) << 16,
             PointToLParam(screen.X, screen.Y));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Shape->Log, (std::vector<std::string>{"wheel -120"}));
    EXPECT_EQ(Shape->WheelPos, screen);

    Form.OnMouseWheel = TMouseWheelEvent::Bind<&TKeyLog::Wheel>(&Log);
    TPoint beside = Form.ClientToScreen(TPoint{100, 150});
    EXPECT_EQ(Send(Form, WM_MOUSEWHEEL, WPARAM{120} << 16, PointToLParam(beside.X, beside.Y)), 1);
    EXPECT_EQ(Log.Entries, (std::vector<std::string>{"wheel 120"}));
}

TEST_F(InputTest, KeysRaiseTheEventsAndAConsumedKeyArrivesAsZero)
{
    Panel->OnKeyDown = TKeyEvent::Bind<&TKeyLog::KeyDown>(&Log);
    Panel->OnKeyUp = TKeyEvent::Bind<&TKeyLog::KeyUp>(&Log);
    Panel->OnKeyPress = TKeyPressEvent::Bind<&TKeyLog::KeyPress>(&Log);
    Panel->ConsumedKey = 'B';
    Send(*Panel, WM_KEYDOWN, 'A', 1);
    Send(*Panel, WM_KEYDOWN, 'B', 1);
    Send(*Panel, WM_KEYDOWN, 'C', 0x20000001);
    Send(*Panel, WM_CHAR, 'a', 1);
    Send(*Panel, WM_KEYUP, 'A', 0xC0000001);
    EXPECT_EQ(Log.Entries,
              (std::vector<std::string>{"down 65", "down 0", "down 67 alt", "press 97", "up 65"}));
    TMessage message{WM_CHAR, 'x', 1};
    Panel->WndProc(message);
    EXPECT_EQ(message.CharCode(), 0) << "a character the handler clears is written back";
}

TEST_F(InputTest, FocusMovesWithSetFocusAndTabStops)
{
    EXPECT_TRUE(Panel->CanFocus());
    Panel->SetFocus();
    EXPECT_TRUE(Panel->Focused());
    EXPECT_FALSE(Other->Focused());
    Send(*Panel, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(Other->Focused());
    Send(*Other, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(Panel->Focused()) << "the tab order wraps around";
    Panel->DialogCode = DLGC_WANTTAB;
    Send(*Panel, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(Panel->Focused()) << "a control that wants Tab keeps the focus";
    Other->SetVisible(false);
    EXPECT_FALSE(Other->CanFocus());
    EXPECT_THROW(Other->SetFocus(), EInvalidOperation);
}

TEST(ShiftState, KeyDataAndMouseKeysGiveTheShiftState)
{
    EXPECT_TRUE(KeyDataToShiftState(0x20000000).Contains(ssAlt));
    EXPECT_FALSE(KeyDataToShiftState(1).Contains(ssAlt));
    TShiftState mouse = KeysToShiftState(MK_LBUTTON | MK_SHIFT | MK_CONTROL);
    EXPECT_TRUE(mouse.Contains(ssLeft));
    EXPECT_TRUE(mouse.Contains(ssShift));
    EXPECT_TRUE(mouse.Contains(ssCtrl));
    EXPECT_FALSE(mouse.Contains(ssRight));
}

namespace {

class TDragLog : public TObject {
public:
    std::vector<std::string> Entries;
    void StartDrag(TObject*, TObject*&) { Entries.push_back("start"); }
    void Over(TObject*, TObject* Source, int X, int Y, TDragState State, bool& Accept)
    {
        Entries.push_back("over " + std::to_string(State) + " " + std::to_string(X) + "," +
                          std::to_string(Y));
        Accept = Source != nullptr;
    }
    void Drop(TObject* Sender, TObject* Source, int X, int Y)
    {
        Entries.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
        DropSender = Sender;
        DropSource = Source;
    }
    void End(TObject*, TObject* Target, int, int)
    {
        Entries.push_back("end");
        EndTarget = Target;
    }
    TObject* DropSender = nullptr;
    TObject* DropSource = nullptr;
    TObject* EndTarget = reinterpret_cast<TObject*>(1);
};

} // namespace

TEST_F(InputTest, AnAutomaticDragCarriesTheControlToATargetThatAcceptsIt)
{
    TDragLog drag;
    Shape->SetDragMode(dmAutomatic);
    Shape->OnStartDrag = TStartDragEvent::Bind<&TDragLog::StartDrag>(&drag);
    Shape->OnEndDrag = TEndDragEvent::Bind<&TDragLog::End>(&drag);
    Panel->OnDragOver = TDragOverEvent::Bind<&TDragLog::Over>(&drag);
    Panel->OnDragDrop = TDragDropEvent::Bind<&TDragLog::Drop>(&drag);
    Send(Form, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(30, 40));
    EXPECT_TRUE(Shape->Dragging());
    Send(Form, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(160, 20));
    Send(Form, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(165, 25));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(165, 25));
    EXPECT_FALSE(Shape->Dragging());
    EXPECT_EQ(drag.Entries, (std::vector<std::string>{"start", "over 0 10,10", "over 2 15,15",
                                                      "drop 15,15", "end"}));
    EXPECT_EQ(drag.DropSender, Panel);
    EXPECT_EQ(drag.DropSource, Shape);
    EXPECT_EQ(drag.EndTarget, Panel);
    EXPECT_TRUE(Shape->Log.empty()) << "a drag is not a press";
}

TEST_F(InputTest, ADragReleasedWhereNothingAcceptsItEndsWithoutATarget)
{
    TDragLog drag;
    Shape->OnEndDrag = TEndDragEvent::Bind<&TDragLog::End>(&drag);
    Shape->BeginDrag();
    Send(Form, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(100, 150));
    Send(Form, WM_LBUTTONUP, 0, PointToLParam(100, 150));
    EXPECT_EQ(drag.Entries, (std::vector<std::string>{"end"}));
    EXPECT_EQ(drag.EndTarget, nullptr);
}
