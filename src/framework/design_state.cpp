// The design state of a form and everything on it.
#include "zintara/framework/controls.h"

namespace zn {

void SetDesignState(TComponent& Root, bool Designing) {
    Root.SetDesigning(Designing);
    if (auto* Windowed = dynamic_cast<TWinControl*>(&Root))
        for (int I = 0; I < Windowed->ControlCount(); ++I) SetDesignState(*Windowed->Controls(I), Designing);
}

} // namespace zn
