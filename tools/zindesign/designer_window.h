// The designer's main window: a menu for form files, the component palette and the object
// inspector; the form being designed is a window of its own beside it, owned by the designer's
// model, which the window owns.
#pragma once

#include "design_surface.h"
#include "form_designer.h"
#include "inspector_view.h"
#include "palette_view.h"

#include "zintara/framework/forms.h"

#include <memory>

namespace zn::zindesign {

class TDesignerWindow : public TForm {
public:
    explicit TDesignerWindow(TComponent* AOwner);
    ~TDesignerWindow() override;

    TFormDesigner& Designer() { return FDesigner; }
    TPaletteView& Palette() { return *FPalette; }
    TInspectorView& Inspector() { return *FInspector; }
    // The screen rectangle holding the designer and the form it shows.
    RECT ScreenArea();

    void WndProc(TMessage& Message) override;

private:
    bool MenuCommand(int Id);
    void OpenForm();
    void SaveForm(TFormFormat Format);
    bool ConfirmDiscard();

    TFormDesigner FDesigner;
    std::unique_ptr<TPaletteView> FPalette;
    std::unique_ptr<TInspectorView> FInspector;
    std::unique_ptr<TDesignSurface> FSurface;
};

} // namespace zn::zindesign
