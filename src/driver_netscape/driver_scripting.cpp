// TznFlashDriverNS scripting, application to movie through the plug-in's scriptable object, and
// the answer to a call from the movie.
#include "zintara/zn_driver_netscape.h"

#include "browser_table.h"
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

// A call the plug-in refuses is made once more.
void TznFlashDriverNS::SetVariable(const std::wstring& name, const std::wstring& value)
{
    const std::string name_text = WideToAnsi(name);
    const std::string value_text = WideToAnsi(value);
    const TNPVariant arguments[] = {netscape::StringVariant(name_text),
                                    netscape::StringVariant(value_text)};
    for (int attempt = 0; attempt < 2; ++attempt) {
        TNPVariant result;
        const bool done = CallMethod("SetVariable", arguments, 2, &result);
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
const std::string& TznFlashDriverNS::AnswerFlashCall(const std::wstring& request)
{
    static const std::string no_answer;
    const std::shared_ptr<bool> alive = FAlive;
    std::wstring outer = std::exchange(FReturnValue, std::wstring());
    try {
        DoFlashCall(request);
    } catch (...) {
        if (*alive)
            FReturnValue = std::move(outer);
        throw;
    }
    if (!*alive)
        return no_answer;
    FEvaluateResult = WideToAnsi(FReturnValue);
    FReturnValue = std::move(outer);
    return FEvaluateResult;
}

} // namespace zn
