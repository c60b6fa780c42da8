// Controls for the tests: a graphic shape and a windowed panel that paint themselves in their
// colour, publish every framework property and record what reaches their hooks.
#pragma once

#include "zintara/framework/controls.h"

#include <string>
#include <vector>

namespace zn::test {

class TTestShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::vector<std::string> Log;
    int Paints = 0;
    int ColorChanges = 0;
    bool HandleWheel = false;
    TPoint WheelPos;

protected:
    void Paint() override;
    void CMColorChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Click() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
};

class TTestPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::vector<std::string> Log;
    int ColorChanges = 0;
    // A key this panel consumes in its KeyDown hook before the event sees it.
    std::uint16_t ConsumedKey = 0;
    LRESULT DialogCode = 0;

protected:
    void Paint() override;
    void CMColorChanged(TMessage& Message) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Click() override;
    void WMGetDlgCode(TMessage& Message) override;
};

// A panel class that publishes TabStop again, with true as its default.
class TTestTabPanel : public TTestPanel {
public:
    explicit TTestTabPanel(TComponent* AOwner) : TTestPanel(AOwner) { SetTabStop(true); }
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

// A non-visual component for controls to refer to.
class TTestMenu : public TComponent {
public:
    using TComponent::TComponent;
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

void RegisterTestControls();

} // namespace zn::test
