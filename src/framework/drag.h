// The drag in progress, shared by the controls and the windows whose mouse carries it.
#pragma once

#include "zintara/framework/controls.h"

namespace zn {

// Takes the mouse messages of Receiver's window while a drag is in progress; true when the
// message was the drag's.
bool DragMouseMessage(TWinControl& Receiver, const TMessage& Message);
// Forgets a control that is being destroyed: a drag it is the source of is cancelled.
void DragControlGone(TControl* Control);

} // namespace zn
