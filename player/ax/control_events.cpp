// The events the control fires at its container's sinks (arguments last first, as IDispatch
// takes them), the property-change notices, and what the movie raises through them.
#include "control.h"

#include "control_log.h"
#include "control_module.h"

#include "znswf/external_interface.h"

#include <olectl.h>

namespace zn::ax {

HRESULT Control::FireEvent(DISPID id, VARIANT* argumentsLastFirst, UINT count)
{
    Scope scope(*this);
    ++firing_;
    HRESULT last = S_OK;
    for (IUnknown* sink : eventSinks_.Sinks()) {
        DISPPARAMS params{argumentsLastFirst, nullptr, count, 0};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT argument_error = 0;
        HRESULT hr = static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                                           DISPATCH_METHOD, &params, &result,
                                                           &exception, &argument_error);
        LogCall("Event", Identity()).Number("dispid", id).Result(hr).Record();
        VariantClear(&result);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        sink->Release();
        if (FAILED(hr))
            last = hr;
    }
    --firing_;
    return last;
}

HRESULT Control::FireFSCommand(const std::wstring& command, const std::wstring& args)
{
    VARIANT arguments[2];
    arguments[0].vt = VT_BSTR;
    arguments[0].bstrVal = SysAllocString(args.c_str());
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = SysAllocString(command.c_str());
    HRESULT hr = FireEvent(150, arguments, 2);
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
    return hr;
}

HRESULT Control::FireFlashCall(const std::wstring& request, std::wstring& answer)
{
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(request.c_str());
    std::wstring* outer = returnValue_;
    returnValue_ = &answer;
    HRESULT hr = FireEvent(197, &argument, 1);
    returnValue_ = outer;
    VariantClear(&argument);
    return hr;
}

void Control::SetReadyState(LONG state)
{
    if (state == readyState_)
        return;
    readyState_ = state;
    Scope scope(*this);
    for (IUnknown* sink : propertySinks_.Sinks()) {
        HRESULT hr = static_cast<IPropertyNotifySink*>(sink)->OnChanged(DISPID_READYSTATE);
        LogCall("Site.OnChanged", Identity())
            .Number("dispid", DISPID_READYSTATE)
            .Result(hr)
            .Record();
        if (hr != S_OK)
            Violation("IPropertyNotifySink.OnChanged failed");
        sink->Release();
    }
    VARIANT argument;
    argument.vt = VT_I4;
    argument.lVal = state;
    FireEvent(DISPID_READYSTATECHANGE, &argument, 1);
}

// What the movie asks of its control.

void Control::FSCommand(const std::string& command, const std::string& arguments)
{
    FireFSCommand(Wide(command), Wide(arguments));
}

std::string Control::CallExternal(const std::string& name,
                                  const std::vector<swf::ExternalValue>& arguments)
{
    std::wstring answer;
    if (major_ < kFirstVersionWithCallFunction)
        return "<undefined/>";
    FireFlashCall(Wide(swf::EncodeExternalInvocation({name, arguments})), answer);
    return answer.empty() ? "<undefined/>" : Utf8(answer);
}

} // namespace zn::ax
