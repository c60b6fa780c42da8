// The test controls' property tables and recording hooks.
#include "test_controls.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/forms.h"

namespace zn::test {

namespace {

std::string Position(int X, int Y)
{
    return std::to_string(X) + "," + std::to_string(Y);
}

const char* ButtonName(TMouseButton Button)
{
    return Button == mbLeft ? "left" : Button == mbRight ? "right" : "middle";
}

} // namespace

const TClassInfo& TTestShape::ClassInfo()
{
    using C = TPublishedControl<TTestShape>;
    static const TPropertyInfo properties[] = {
        C::Align(),        C::Anchors(),     C::Color(),       C::DragCursor(),     C::DragMode(),
        C::Enabled(),      C::Hint(),        C::ParentColor(), C::ParentShowHint(), C::PopupMenu(),
        C::ShowHint(),     C::Visible(),     C::OnClick(),     C::OnDragDrop(),     C::OnDragOver(),
        C::OnEndDrag(),    C::OnStartDrag(), C::OnMouseDown(), C::OnMouseMove(),    C::OnMouseUp(),
        C::OnMouseWheel(),
    };
    static const TClassInfo info =
        DeclareClass<TTestShape, TGraphicControl>(L"TTestShape", properties);
    return info;
}
const TClassInfo& TTestShape::ClassType() const
{
    return ClassInfo();
}

void TTestShape::Paint()
{
    ++Paints;
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
}

void TTestShape::CMColorChanged(TMessage& Message)
{
    ++ColorChanges;
    TGraphicControl::CMColorChanged(Message);
}

void TTestShape::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Log.push_back(std::string("down ") + ButtonName(Button) + " " + Position(X, Y) +
                  (Shift.Contains(ssDouble) ? " double" : ""));
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TTestShape::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Log.push_back(std::string("up ") + ButtonName(Button) + " " + Position(X, Y));
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TTestShape::MouseMove(TShiftState Shift, int X, int Y)
{
    Log.push_back("move " + Position(X, Y));
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TTestShape::Click()
{
    Log.push_back("click");
    TGraphicControl::Click();
}

bool TTestShape::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    Log.push_back("wheel " + std::to_string(WheelDelta));
    WheelPos = MousePos;
    return TGraphicControl::DoMouseWheel(Shift, WheelDelta, MousePos) || HandleWheel;
}

const TClassInfo& TTestPanel::ClassInfo()
{
    using C = TPublishedControl<TTestPanel>;
    static const TPropertyInfo properties[] = {
        C::Align(),      C::Anchors(),      C::Color(),       C::DragCursor(),     C::DragMode(),
        C::Enabled(),    C::Hint(),         C::ParentColor(), C::ParentShowHint(), C::PopupMenu(),
        C::ShowHint(),   C::TabStop(),      C::Visible(),     C::OnClick(),        C::OnDragDrop(),
        C::OnDragOver(), C::OnEndDrag(),    C::OnStartDrag(), C::OnEnter(),        C::OnExit(),
        C::OnKeyDown(),  C::OnKeyPress(),   C::OnKeyUp(),     C::OnMouseDown(),    C::OnMouseMove(),
        C::OnMouseUp(),  C::OnMouseWheel(),
    };
    static const TClassInfo info =
        DeclareClass<TTestPanel, TCustomControl>(L"TTestPanel", properties);
    return info;
}
const TClassInfo& TTestPanel::ClassType() const
{
    return ClassInfo();
}

void TTestPanel::Paint()
{
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
}

void TTestPanel::CMColorChanged(TMessage& Message)
{
    ++ColorChanges;
    TCustomControl::CMColorChanged(Message);
}

void TTestPanel::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (ConsumedKey && Key == ConsumedKey)
        Key = 0;
    TCustomControl::KeyDown(Key, Shift);
}

void TTestPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Log.push_back(std::string("down ") + ButtonName(Button) + " " + Position(X, Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTestPanel::Click()
{
    Log.push_back("click");
    TCustomControl::Click();
}

void TTestPanel::WMGetDlgCode(TMessage& Message)
{
    TCustomControl::WMGetDlgCode(Message);
    Message.Result |= DialogCode;
}

const TClassInfo& TTestTabPanel::ClassInfo()
{
    static const TPropertyInfo properties[] = {
        TPublished<TTestTabPanel>::Boolean<&TWinControl::TabStop, &TWinControl::SetTabStop>(
            L"TabStop", true)};
    static const TClassInfo info =
        DeclareClass<TTestTabPanel, TTestPanel>(L"TTestTabPanel", properties);
    return info;
}
const TClassInfo& TTestTabPanel::ClassType() const
{
    return ClassInfo();
}

const TClassInfo& TTestMenu::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TTestMenu, TComponent>(L"TTestMenu");
    return info;
}
const TClassInfo& TTestMenu::ClassType() const
{
    return ClassInfo();
}

void RegisterTestControls()
{
    RegisterFormClasses();
    RegisterClasses({&TTestShape::ClassInfo(), &TTestPanel::ClassInfo(),
                     &TTestTabPanel::ClassInfo(), &TTestMenu::ClassInfo()});
}

} // namespace zn::test
