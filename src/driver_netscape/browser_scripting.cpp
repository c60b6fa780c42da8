// The scripting entries of the browser table: FSCommand through NPN_Invoke, ExternalInterface
// calls through NPN_Evaluate, and the few browser objects the plug-in asks for.
#include "browser_table.h"

#include "external_call.h"
#include "identifiers.h"
#include "variants.h"
#include "zintara/core/external_interface.h"
#include "zintara/framework/text.h"

#include <string>
#include <vector>

namespace zn::netscape {
namespace {

// The class of the host's objects. The plug-in reaches them only through the browser entries,
// but a class entry it calls anyway answers that nothing is there.
PNPObject HostAllocate(PNPP, PNPClass)
{
    return nullptr;
}
void HostNoOperation(PNPObject) {}
bool HostHasNothing(PNPObject, PNPIdentifier)
{
    return false;
}
bool HostInvoke(PNPObject, PNPIdentifier, const TNPVariant*, std::uint32_t, PNPVariant)
{
    return false;
}
bool HostInvokeDefault(PNPObject, const TNPVariant*, std::uint32_t, PNPVariant)
{
    return false;
}
bool HostGetProperty(PNPObject, PNPIdentifier, PNPVariant)
{
    return false;
}
bool HostSetProperty(PNPObject, PNPIdentifier, const TNPVariant*)
{
    return false;
}
bool HostEnumerate(PNPObject, PNPIdentifier**, std::uint32_t*)
{
    return false;
}

TNPClass HostClass{1,
                   &HostAllocate,
                   &HostNoOperation,
                   &HostNoOperation,
                   &HostHasNothing,
                   &HostInvoke,
                   &HostInvokeDefault,
                   &HostHasNothing,
                   &HostGetProperty,
                   &HostSetProperty,
                   &HostHasNothing,
                   &HostEnumerate};

TNPObject HostObjects[4]{};

std::string IdentifierName(PNPIdentifier Identifier)
{
    return IsInternedIdentifier(Identifier) ? std::string(static_cast<const char*>(Identifier))
                                            : std::string();
}

void SetResult(PNPVariant Result, const TNPVariant& Value)
{
    if (Result)
        *Result = Value;
}

} // namespace

PNPObject PrepareHostObject(THostObject Which)
{
    TNPObject& object = HostObjects[static_cast<int>(Which)];
    object._class = &HostClass;
    object.referenceCount = 1;
    object.plugin = nullptr;
    return &object;
}

bool IsHostObject(PNPObject Object)
{
    return Object >= &HostObjects[0] && Object < &HostObjects[4];
}

bool NPN_Invoke(PNPP npp, PNPObject, PNPIdentifier methodName, const TNPVariant* args,
                std::uint32_t argCount, PNPVariant result)
{
    return ExceptionBoundary(true, [&] {
        if (IdentifierName(methodName) != "_DoFSCommand") {
            SetResult(result, StringVariant(""));
            return true;
        }
        if (TznFlashDriverNS* driver = DriverOf(npp)) {
            const std::string command = VariantToString(ArgumentAt(args, argCount, 0));
            const std::string arguments = VariantToString(ArgumentAt(args, argCount, 1));
            driver->DoFSCommand(AnsiToWide(command), AnsiToWide(arguments));
        }
        return true;
    });
}

bool NPN_Evaluate(PNPP npp, PNPObject, TNPString* script, PNPVariant result)
{
    SetResult(result, StringVariant(""));
    if (!script || !script->utf8characters)
        return true;
    return ExceptionBoundary(true, [&] {
        const auto call =
            ParseFlashCallScript(std::string_view(script->utf8characters, script->utf8length));
        TznFlashDriverNS* driver = DriverOf(npp);
        if (!call || !driver)
            return true;
        std::vector<TExternalArgument> arguments;
        for (const netscape::TScriptArgument& argument : call->Arguments)
            arguments.push_back({argument.Kind, AnsiToWide(argument.Text)});
        const std::string& answer =
            driver->AnswerFlashCall(BuildCallRequest(AnsiToWide(call->Name), arguments));
        SetResult(result, StringVariant(answer));
        return true;
    });
}

bool NPN_GetProperty(PNPP, PNPObject obj, PNPIdentifier propertyName, PNPVariant result)
{
    SetResult(result, VoidVariant());
    if (!result)
        return false;
    const std::string name = IdentifierName(propertyName);
    const auto answer = [&](THostObject Which) {
        *result = ObjectVariant(PrepareHostObject(Which));
        return true;
    };
    if (obj == &HostObjects[static_cast<int>(THostObject::Window)]) {
        if (name == "location")
            return answer(THostObject::WindowLocation);
        if (name == "top")
            return answer(THostObject::Top);
    } else if (obj == &HostObjects[static_cast<int>(THostObject::Top)] && name == "location") {
        return answer(THostObject::TopLocation);
    }
    return false;
}

} // namespace zn::netscape
