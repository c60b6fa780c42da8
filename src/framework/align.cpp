// Laying out a windowed control's children: anchored ones follow the change of the client
// size, then aligned ones take their edges of what is left, in the order top, bottom, left,
// right, client.
#include "zintara/framework/controls.h"

#include <algorithm>

namespace zn {

void TWinControl::Realign() {
    TComponentState State = ComponentState();
    if (FAligning || State.Contains(csLoading) || State.Contains(csDestroying)) return;
    FAligning = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } Reset{FAligning};
    AlignControls();
}

void TWinControl::AlignControls() {
    TRect Client = ClientRect();
    std::vector<TControl*> Children = FControls;
    if (FAlignedWidth >= 0) {
        int DX = Client.Width() - FAlignedWidth;
        int DY = Client.Height() - FAlignedHeight;
        for (TControl* Child : Children) {
            if (Child->Align() != alNone || (DX == 0 && DY == 0)) continue;
            TAnchors Anchors = Child->Anchors();
            int L = Child->Left(), T = Child->Top(), W = Child->Width(), H = Child->Height();
            if (Anchors.Contains(akRight)) {
                if (Anchors.Contains(akLeft)) W += DX;
                else L += DX;
            } else if (!Anchors.Contains(akLeft)) {
                L += DX / 2;
            }
            if (Anchors.Contains(akBottom)) {
                if (Anchors.Contains(akTop)) H += DY;
                else T += DY;
            } else if (!Anchors.Contains(akTop)) {
                T += DY / 2;
            }
            Child->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
        }
    }
    FAlignedWidth = Client.Width();
    FAlignedHeight = Client.Height();

    TRect Rest = Client;
    for (TAlign Edge : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* Child : Children) {
            if (Child->Align() != Edge || !Child->Visible()) continue;
            int Width = std::max(Rest.Width(), 0), Height = std::max(Rest.Height(), 0);
            switch (Edge) {
            case alTop:
                Child->SetBounds(Rest.Left, Rest.Top, Width, Child->Height());
                Rest.Top += Child->Height();
                break;
            case alBottom:
                Child->SetBounds(Rest.Left, Rest.Bottom - Child->Height(), Width, Child->Height());
                Rest.Bottom -= Child->Height();
                break;
            case alLeft:
                Child->SetBounds(Rest.Left, Rest.Top, Child->Width(), Height);
                Rest.Left += Child->Width();
                break;
            case alRight:
                Child->SetBounds(Rest.Right - Child->Width(), Rest.Top, Child->Width(), Height);
                Rest.Right -= Child->Width();
                break;
            default: Child->SetBounds(Rest.Left, Rest.Top, Width, Height); break;
            }
        }
    }
}

} // namespace zn
