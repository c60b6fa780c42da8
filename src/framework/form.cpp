// TCustomForm and TForm: top-level windows that start hidden, their caption and client size,
// showing, closing and deferred freeing.
#include "zintara/framework/forms.h"

#include "zintara/framework/application.h"
#include "zintara/framework/class_registry.h"

namespace zn {

const TClassInfo& TCustomForm::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TCustomForm, TWinControl>(L"TCustomForm");
    return info;
}
const TClassInfo& TCustomForm::ClassType() const
{
    return ClassInfo();
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    Screen().FForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    // The controls on the form go while it is still a form, window and all.
    DestroyComponents();
    auto& forms = Screen().FForms;
    std::erase(forms, this);
}

void TCustomForm::SetCaption(const std::wstring& Value)
{
    FCaption = Value;
    if (HandleAllocated())
        SetWindowTextW(Handle(), Value.c_str());
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Caption = FCaption;
}

TRect TCustomForm::ClientRect() const
{
    if (HandleAllocated() || Parent() || ParentWindow())
        return TWinControl::ClientRect();
    // Before the window exists: the client area a window of this size would have.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    int w = Width() - (frame.right - frame.left), h = Height() - (frame.bottom - frame.top);
    return Rect(0, 0, w > 0 ? w : 0, h > 0 ? h : 0);
}

void TCustomForm::SetClientWidth(int Value)
{
    SetWidth(Width() - ClientWidth() + Value);
}

void TCustomForm::SetClientHeight(int Value)
{
    SetHeight(Height() - ClientHeight() + Value);
}

void TCustomForm::Show()
{
    SetVisible(true);
    ShowWindow(Handle(), SW_SHOW);
    if (OnShow)
        OnShow(this);
}

void TCustomForm::Hide()
{
    if (!Visible())
        return;
    SetVisible(false);
    if (OnHide)
        OnHide(this);
}

void TCustomForm::Close()
{
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (TApplication* app = Application(); app && app->MainForm() == this)
        app->Terminate();
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: ShowWindow(Handle(), SW_MINIMIZE); break;
    default: Release(); break;
    }
}

void TCustomForm::Release()
{
    if (HandleAllocated())
        PostMessageW(Handle(), CM_RELEASE, 0, 0);
    else
        delete this;
}

void TCustomForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        Message.Result = 0;
        return;
    case CM_RELEASE: delete this; return;
    default: TWinControl::WndProc(Message);
    }
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    if (Visible())
        Show();
}

const TClassInfo& TForm::ClassInfo()
{
    using P = TPublished<TForm>;
    using C = TPublishedControl<TForm>;
    static const TPropertyInfo properties[] = {
        P::WideString<&TCustomForm::Caption, &TCustomForm::SetCaption>(L"Caption"),
        P::Integer<&TControl::Color, &TControl::SetColor>(L"Color", clBtnFace),
        C::Enabled(),
        C::Hint(),
        C::ShowHint(),
        P::Boolean<&TControl::Visible, &TControl::SetVisible>(L"Visible", false),
        C::OnClick(),
        P::Event(L"OnClose"),
        P::Event(L"OnHide"),
        C::OnKeyDown(),
        C::OnKeyPress(),
        C::OnKeyUp(),
        C::OnMouseDown(),
        C::OnMouseMove(),
        C::OnMouseUp(),
        C::OnMouseWheel(),
        P::Event(L"OnResize"),
        P::Event(L"OnShow"),
    };
    static const TClassInfo info = DeclareClass<TForm, TCustomForm>(L"TForm", properties);
    return info;
}
const TClassInfo& TForm::ClassType() const
{
    return ClassInfo();
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

TCustomForm* GetParentForm(TControl* Control)
{
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

void RegisterFormClasses()
{
    RegisterClasses({&TForm::ClassInfo()});
}

} // namespace zn
