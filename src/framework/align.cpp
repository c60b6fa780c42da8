// Laying out a windowed control's children: anchored ones follow the change of the client
// size, then aligned ones take their edges of what is left, in the order top, bottom, left,
// right, client.
#include "zintara/framework/controls.h"

#include <algorithm>

namespace zn {

void TWinControl::Realign()
{
    TComponentState state = ComponentState();
    if (FAligning || state.Contains(csLoading) || state.Contains(csDestroying))
        return;
    FAligning = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FAligning};
    AlignControls();
}

void TWinControl::AlignControls()
{
    TRect client = ClientRect();
    std::vector<TControl*> children = FControls;
    if (FAlignedWidth >= 0) {
        int dx = client.Width() - FAlignedWidth;
        int dy = client.Height() - FAlignedHeight;
        for (TControl* child : children) {
            if (child->Align() != alNone || (dx == 0 && dy == 0))
                continue;
            TAnchors anchors = child->Anchors();
            int l = child->Left(), t = child->Top(), w = child->Width(), h = child->Height();
            if (anchors.Contains(akRight)) {
                if (anchors.Contains(akLeft))
                    w += dx;
                else
                    l += dx;
            } else if (!anchors.Contains(akLeft)) {
                l += dx / 2;
            }
            if (anchors.Contains(akBottom)) {
                if (anchors.Contains(akTop))
                    h += dy;
                else
                    t += dy;
            } else if (!anchors.Contains(akTop)) {
                t += dy / 2;
            }
            child->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
        }
    }
    FAlignedWidth = client.Width();
    FAlignedHeight = client.Height();

    TRect rest = client;
    for (TAlign edge : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* child : children) {
            if (child->Align() != edge || !child->Visible())
                continue;
            int width = std::max(rest.Width(), 0), height = std::max(rest.Height(), 0);
            switch (edge) {
            case alTop:
                child->SetBounds(rest.Left, rest.Top, width, child->Height());
                rest.Top += child->Height();
                break;
            case alBottom:
                child->SetBounds(rest.Left, rest.Bottom - child->Height(), width, child->Height());
                rest.Bottom -= child->Height();
                break;
            case alLeft:
                child->SetBounds(rest.Left, rest.Top, child->Width(), height);
                rest.Left += child->Width();
                break;
            case alRight:
                child->SetBounds(rest.Right - child->Width(), rest.Top, child->Width(), height);
                rest.Right -= child->Width();
                break;
            default: child->SetBounds(rest.Left, rest.Top, width, height); break;
            }
        }
    }
}

} // namespace zn
