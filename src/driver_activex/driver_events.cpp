// TznFlashDriverActiveX: the control's events to the driver's handlers. Each handler slot
// belongs to one event of the control's event list; FSCommand and FlashCall reach the owner's
// OnFSCommand and OnFlashCall, the ready state and progress have no handler and are dropped.
#include "zintara/zn_driver_activex.h"

namespace zn {
namespace {

// Argument Index counted from the first, as text; the control passes them last first.
std::wstring TextArgument(const DISPPARAMS& Params, UINT Index)
{
    if (Index >= Params.cArgs)
        return {};
    VARIANT text;
    VariantInit(&text);
    std::wstring result;
    if (SUCCEEDED(VariantChangeType(&text, &Params.rgvarg[Params.cArgs - 1 - Index], 0, VT_BSTR)) &&
        text.bstrVal != nullptr)
        result.assign(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}

} // namespace

TznFlashDriverActiveX::TEventMethod TznFlashDriverActiveX::GetEventMethod(DISPID DispID) const
{
    const TEventMethod slots[] = {FOnReadyStateChange, FOnProgress, FOnFSCommandEvent,
                                  FOnFlashCallEvent};
    for (std::int32_t i = 0; i < FControlData->EventCount && i < 4; ++i)
        if (FControlData->EventDispIDs[i] == DispID)
            return slots[i];
    return nullptr;
}

// The handler may free the driver; nothing of it is touched afterwards.
void TznFlashDriverActiveX::InvokeEvent(DISPID DispID, const DISPPARAMS& Params)
{
    const TEventMethod method = GetEventMethod(DispID);
    if (method == nullptr)
        return;
    try {
        (this->*method)(Params);
    } catch (...) {
        ReportCurrentException(this);
    }
}

void TznFlashDriverActiveX::IntfFSCommand(const DISPPARAMS& Params)
{
    DoFSCommand(TextArgument(Params, 0), TextArgument(Params, 1));
}

void TznFlashDriverActiveX::IntfFlashPlayerFlashCall(const DISPPARAMS& Params)
{
    DoFlashCall(TextArgument(Params, 0));
}

} // namespace zn
