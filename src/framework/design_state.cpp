// The design state of a form and everything on it.
#include "zintara/framework/controls.h"

namespace zn {

void SetDesignState(TComponent& Root, bool Designing)
{
    Root.SetDesigning(Designing);
    if (auto* windowed = dynamic_cast<TWinControl*>(&Root))
        for (int i = 0; i < windowed->ControlCount(); ++i)
            SetDesignState(*windowed->Controls(i), Designing);
}

} // namespace zn
