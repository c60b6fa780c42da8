// The layered player window: the driver's buffer with its alpha channel handed to the window
// system for the whole parent form.
#include "zintara/zn_layer.h"

#include "zintara/framework/forms.h"
#include "zintara/framework/properties.h"

#include <algorithm>

namespace zn {

TUpdateLayeredWindowFunction& UpdateLayeredWindowFunction()
{
    // user32 stays loaded for the life of the process, so the module is never freed.
    static TUpdateLayeredWindowFunction function = [] {
        HMODULE user32 = LoadLibraryW(L"user32.dll");
        return user32 ? reinterpret_cast<TUpdateLayeredWindowFunction>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
                      : nullptr;
    }();
    return function;
}

// The layer needs the alpha channel from the start, not only from its first colour change.
TznFlashLayer::TznFlashLayer(TComponent* AOwner) : TznCustomFlashPlayerWnd(AOwner, 0)
{
    SetAlign(alClient);
}

const TClassInfo& TznFlashLayer::ClassInfo()
{
    using C = TznFlashLayer;
    using P = TPublished<C>;
    using F = TPublishedControl<C>;
    static const TPropertyInfo properties[] = {
        F::Anchors(),
        F::DragCursor(),
        F::DragMode(),
        F::ParentColor(),
        F::ParentShowHint(),
        F::PopupMenu(),
        F::ShowHint(),
        F::Visible(),
        F::OnDragDrop(),
        F::OnDragOver(),
        F::OnEndDrag(),
        F::OnStartDrag(),
        F::OnClick(),
        P::Boolean<&C::AllowDrag, &C::SetAllowDrag>(L"AllowDrag", true),
        P::Integer<&C::MasterAlpha, &C::SetMasterAlpha>(L"MasterAlpha", 255),
    };
    static const TClassInfo info =
        DeclareClass<C, TznCustomFlashPlayerWnd>(L"TznFlashLayer", properties);
    return info;
}

const TClassInfo& TznFlashLayer::ClassType() const
{
    return ClassInfo();
}

void TznFlashLayer::SetMasterAlpha(int Value)
{
    FMasterAlpha = std::clamp(Value, 0, 255);
}

void TznFlashLayer::CreateHandle()
{
    TznCustomFlashPlayerWnd::CreateHandle();
    if (FDriver)
        FDriver->Resize(Width(), Height());
    if (ComponentState().Contains(csDesigning))
        return;
    auto* form = dynamic_cast<TCustomForm*>(Parent());
    if (!form)
        return;
    const HWND window = form->Handle();
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    UpdateLayer();
}

void TznFlashLayer::Paint() {}

void TznFlashLayer::DoPaint(TObject*, const TRect&)
{
    UpdateLayer();
}

void TznFlashLayer::UpdateLayer()
{
    const TUpdateLayeredWindowFunction update = UpdateLayeredWindowFunction();
    if (ComponentState().Contains(csDesigning) || !FDriver || !Parent() ||
        !Parent()->HandleAllocated() || !update)
        return;
    POINT destination{Parent()->Left() + Left(), Parent()->Top() + Top()};
    SIZE size{Width(), Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(FMasterAlpha & 0xFF), AC_SRC_ALPHA};
    update(Parent()->Handle(), nullptr, &destination, &size, FDriver->BufferDC(), &source, 0,
           &blend, ULW_ALPHA);
}

} // namespace zn
