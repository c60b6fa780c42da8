// TznFlashDriverNS scripting, application to movie through the plug-in's scriptable object, and
// the answer to a call from the movie.
#include "zintara/zn_driver_netscape.h"

#include "browser_table.h"
#include "plugin_instance.h"
#include "variants.h"
#include "zintara/framework/text.h"

namespace zn {

std::wstring TznFlashDriverNS::CallStringMethod(const char* Name, const TNPVariant* Args,
                                                std::uint32_t ArgCount)
{
    TNPVariant result;
    std::wstring text;
    if (CallMethod(Name, Args, ArgCount, &result))
        text = AnsiToWide(netscape::VariantToString(result));
    netscape::ReleasePluginResult(result);
    return text;
}

std::wstring TznFlashDriverNS::CallFunction(const std::wstring& request)
{
    const std::string text = WideToAnsi(request);
    const TNPVariant argument = netscape::StringVariant(text);
    return CallStringMethod("CallFunction", &argument, 1);
}

std::wstring TznFlashDriverNS::GetVariable(const std::wstring& name)
{
    const std::string text = WideToAnsi(name);
    const TNPVariant argument = netscape::StringVariant(text);
    return CallStringMethod("GetVariable", &argument, 1);
}

// A call the plug-in refuses is made once more, on the same instance: a handler that ran during
// the first call may have freed the driver or replaced the instance, and then there is no second.
void TznFlashDriverNS::SetVariable(const std::wstring& name, const std::wstring& value)
{
    const std::string name_text = WideToAnsi(name);
    const std::string value_text = WideToAnsi(value);
    const TNPVariant arguments[] = {netscape::StringVariant(name_text),
                                    netscape::StringVariant(value_text)};
    const netscape::TPluginCall call(FPlugin);
    for (int attempt = 0; attempt < 2 && call.Driver(); ++attempt) {
        TNPVariant result;
        const bool done = call.Invoke("SetVariable", arguments, 2, &result);
        netscape::ReleasePluginResult(result);
        if (done)
            return;
    }
}

void TznFlashDriverNS::SetReturnValue(const std::wstring& returnValue)
{
    FReturnValue = returnValue;
}

// Each call from the movie has its own answer: a call the handler causes while it runs (the
// movie calling out again inside CallFunction) answers its own and leaves the outer one alone.
// The text outlives the driver and its instance (the plug-in reads it after the call returns),
// so it is kept once for the process and replaced by the next answer.
const std::string& TznFlashDriverNS::AnswerFlashCall(const std::wstring& request)
{
    static std::string answer;
    const netscape::TPluginCall call(FPlugin);
    std::wstring outer = std::exchange(FReturnValue, std::wstring());
    try {
        DoFlashCall(request);
    } catch (...) {
        if (call.Driver())
            FReturnValue = std::move(outer);
        throw;
    }
    if (!call.Driver()) {
        answer.clear();
        return answer;
    }
    answer = WideToAnsi(FReturnValue);
    FReturnValue = std::move(outer);
    return answer;
}

} // namespace zn
