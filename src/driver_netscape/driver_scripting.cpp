// TznFlashDriverNS scripting, application to movie through the plug-in's scriptable object, and
// the answer to a call from the movie.
#include "zintara/zn_driver_netscape.h"

#include "browser_table.h"
#include "plugin_instance.h"
#include "variants.h"
#include "zintara/framework/exceptions.h"
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

// An NPAPI call raises an error in one way only: the object's invoke answers false (after
// NPN_SetException, when the plug-in says why), which browsers hand to the calling script as an
// exception. Such a call is made once more, on the same instance; when that fails too, the
// caller hears of it. A handler that ran during the first call may have freed the driver or
// replaced the instance: then there is no second call and nobody left to tell.
void TznFlashDriverNS::SetVariable(const std::wstring& name, const std::wstring& value)
{
    if (!ScriptableObject())
        return;
    const std::string name_text = WideToAnsi(name);
    const std::string value_text = WideToAnsi(value);
    const TNPVariant arguments[] = {netscape::StringVariant(name_text),
                                    netscape::StringVariant(value_text)};
    const netscape::TPluginCall call(FPlugin);
    for (int attempt = 0; attempt < 2; ++attempt) {
        TNPVariant result;
        const bool done = call.Invoke("SetVariable", arguments, 2, &result);
        netscape::ReleasePluginResult(result);
        if (done || !call.Driver())
            return;
    }
    throw Exception(L"The movie refused to set the variable " + name);
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
