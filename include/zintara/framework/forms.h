// Top-level windows: TCustomForm, a form made in code or read from a form stream, TForm, the
// one that publishes its properties, and TScreen, what the program knows of the display.
#pragma once

#include "zintara/framework/controls.h"

#include <string>
#include <vector>

namespace zn {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = TMethod<void(TObject* Sender, TCloseAction& Action)>;

class TCustomForm : public TWinControl {
public:
    // Forms start hidden; Show (or Visible read from a form) shows them.
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value);

    // The client area's size; setting it sizes the window around it.
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    TRect ClientRect() const override;

    void Show();
    void Hide();
    // Asks OnClose what to do (hide by default): caHide hides, caFree frees the form once the
    // message that closed it is done, caMinimize minimises, caNone keeps it. Closing the
    // application's main form ends the application's message loop.
    void Close();
    // Frees the form once the messages already posted to it are handled.
    void Release();

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;

private:
    std::wstring FCaption;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

// The form a control is on: the top of its chain of parents when that is a form, else null.
TCustomForm* GetParentForm(TControl* Control);

// The display and the forms on it.
class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Logical pixels per inch of the display, read when the screen object was made.
    int PixelsPerInch() const { return FPixelsPerInch; }
    int Width() const;
    int Height() const;
    int FormCount() const { return static_cast<int>(FForms.size()); }
    // Raises EListError for an index outside 0..FormCount-1.
    TCustomForm* Forms(int Index) const;

private:
    friend class TCustomForm;
    int FPixelsPerInch = 96;
    std::vector<TCustomForm*> FForms;
};

TScreen& Screen();

// Registers the framework's form and control classes with the class registry, so forms that
// name them can be read.
void RegisterFormClasses();

} // namespace zn
