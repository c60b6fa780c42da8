// Method and property dispatch of the scriptable object, with the arguments checked and
// converted the way a script engine passes them (numbers as integers or doubles).
#include "scriptable_object.h"

#include "browser.h"
#include "c_boundary.h"
#include "log_text.h"
#include "hostile_mode.h"
#include "instance.h"

#include "znswf/external_interface.h"

#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace zn::np {

namespace {

std::optional<std::int32_t> IntegerArgument(const NPVariant& value)
{
    if (value.type == NPVariantType_Int32)
        return value.value.intValue;
    if (value.type == NPVariantType_Double) {
        double number = value.value.doubleValue;
        if (std::isfinite(number) && number >= INT32_MIN && number <= INT32_MAX)
            return static_cast<std::int32_t>(number);
    }
    return std::nullopt;
}

std::optional<std::string> StringArgument(const NPVariant& value)
{
    if (value.type != NPVariantType_String)
        return std::nullopt;
    const NPString& text = value.value.stringValue;
    if (!text.UTF8Characters)
        return text.UTF8Length ? std::nullopt : std::optional<std::string>(std::string());
    return std::string(text.UTF8Characters, text.UTF8Length);
}

// A variable's value as a script would turn it into text.
std::optional<std::string> ValueText(const NPVariant& value)
{
    switch (value.type) {
    case NPVariantType_String: return StringArgument(value);
    case NPVariantType_Bool: return std::string(value.value.boolValue ? "true" : "false");
    case NPVariantType_Int32: return std::to_string(value.value.intValue);
    case NPVariantType_Double: return swf::FormatNumber(value.value.doubleValue);
    default: return std::nullopt;
    }
}

void SetBool(NPVariant* result, bool value)
{
    result->type = NPVariantType_Bool;
    result->value.boolValue = value;
}

void SetInteger(NPVariant* result, std::int32_t value)
{
    result->type = NPVariantType_Int32;
    result->value.intValue = value;
}

void SetVoid(NPVariant* result)
{
    result->type = NPVariantType_Void;
}

enum class Method {
    LoadMovie,
    Play,
    StopPlay,
    Rewind,
    Forward,
    Back,
    GetLoop,
    IsPlaying,
    CurrentFrame,
    TotalFrames,
    GotoFrame,
    GetVariable,
    SetVariable,
    CallFunction,
};

struct MethodName {
    const char* name;
    Method method;
};

constexpr MethodName kMethods[] = {
    {"LoadMovie", Method::LoadMovie},       {"Play", Method::Play},
    {"StopPlay", Method::StopPlay},         {"Rewind", Method::Rewind},
    {"Forward", Method::Forward},           {"Back", Method::Back},
    {"GetLoop", Method::GetLoop},           {"IsPlaying", Method::IsPlaying},
    {"CurrentFrame", Method::CurrentFrame}, {"TotalFrames", Method::TotalFrames},
    {"GotoFrame", Method::GotoFrame},       {"GetVariable", Method::GetVariable},
    {"SetVariable", Method::SetVariable},   {"CallFunction", Method::CallFunction},
};

constexpr const char* kLoopProperty = "Loop";

std::optional<Method> FindMethod(const std::string& name)
{
    for (const auto& entry : kMethods)
        if (name == entry.name)
            return entry.method;
    return std::nullopt;
}

// The methods without arguments or result.
bool CallCommand(Instance& instance, Method method)
{
    switch (method) {
    case Method::Play: instance.Play(); return true;
    case Method::StopPlay: instance.StopPlay(); return true;
    case Method::Rewind: instance.Rewind(); return true;
    case Method::Forward: instance.Forward(); return true;
    case Method::Back: instance.Back(); return true;
    default: return false;
    }
}

bool CallMethod(Instance& instance, Method method, const NPVariant* args, std::uint32_t count,
                NPVariant* result)
{
    SetVoid(result);
    switch (method) {
    case Method::LoadMovie: {
        auto layer = count == 2 ? IntegerArgument(args[0]) : std::nullopt;
        auto url = count == 2 ? StringArgument(args[1]) : std::nullopt;
        return layer && url && instance.LoadMovie(*layer, *url) == NPERR_NO_ERROR;
    }
    case Method::Play:
    case Method::StopPlay:
    case Method::Rewind:
    case Method::Forward:
    case Method::Back: return count == 0 && CallCommand(instance, method);
    case Method::GetLoop: SetBool(result, instance.Loop()); return count == 0;
    case Method::IsPlaying: SetBool(result, instance.IsPlaying()); return count == 0;
    case Method::CurrentFrame: SetInteger(result, instance.CurrentFrame()); return count == 0;
    case Method::TotalFrames: SetInteger(result, instance.TotalFrames()); return count == 0;
    case Method::GotoFrame: {
        auto frame = count == 1 ? IntegerArgument(args[0]) : std::nullopt;
        if (frame)
            instance.GotoFrame(*frame);
        return frame.has_value();
    }
    case Method::GetVariable: {
        auto name = count == 1 ? StringArgument(args[0]) : std::nullopt;
        if (!name)
            return false;
        auto value = instance.GetVariable(*name);
        if (!value) {
            result->type = NPVariantType_Null;
            return true;
        }
        return TheBrowser().SetStringResult(*result, *value);
    }
    case Method::SetVariable: {
        auto name = count == 2 ? StringArgument(args[0]) : std::nullopt;
        auto value = count == 2 ? ValueText(args[1]) : std::nullopt;
        if (name && Hostility().Has(ZnNpHostileSetVariableFails)) {
            instance.SendFSCommand("setvariable", *name);
            return false;
        }
        if (name && value)
            instance.SetVariable(*name, *value);
        return name && value;
    }
    case Method::CallFunction: {
        auto request = count == 1 ? StringArgument(args[0]) : std::nullopt;
        return request && TheBrowser().SetStringResult(*result, instance.CallFunction(*request));
    }
    }
    return false;
}

// The instance behind an object, held for the call; empty when either is gone.
InstanceScope ScopeOf(NPObject* object)
{
    auto* scriptable = static_cast<ScriptableObject*>(object);
    return InstanceScope(
        scriptable && IsLiveInstance(scriptable->instance) ? scriptable->instance : nullptr, true);
}

// The start of a log line for a call on an object, naming the instance's NPP (null once the
// instance is gone).
LogLine ObjectCall(std::string_view call, NPObject* object)
{
    auto* scriptable = static_cast<ScriptableObject*>(object);
    bool live = scriptable && IsLiveInstance(scriptable->instance);
    LogLine line(call);
    line.Address("npp", live ? scriptable->instance->Npp() : nullptr);
    return line;
}

NPObject* Allocate(NPP, NPClass*)
{
    return new (std::nothrow) ScriptableObject();
}

void Deallocate(NPObject* object)
{
    delete static_cast<ScriptableObject*>(object);
}

void Invalidate(NPObject* object)
{
    if (object)
        static_cast<ScriptableObject*>(object)->instance = nullptr;
}

bool HasMethod(NPObject* object, NPIdentifier name)
{
    return GuardedOr(false, [&] {
        std::string method = TheBrowser().IdentifierName(name);
        CallLogOfProcess().Record(ObjectCall("NPObject.HasMethod", object).Text("name", method));
        return object && FindMethod(method).has_value();
    });
}

bool InvokeMethod(NPObject* object, NPIdentifier name, const NPVariant* args, std::uint32_t count,
                  NPVariant* result)
{
    return GuardedOr(false, [&] {
        std::string method = TheBrowser().IdentifierName(name);
        CallLogOfProcess().Record(ObjectCall("NPObject.Invoke", object)
                                      .Text("method", method)
                                      .Raw("args", VariantsText(args, count)));
        if (!result || (count && !args))
            return false;
        auto known = FindMethod(method);
        InstanceScope instance = ScopeOf(object);
        if (object && !instance)
            ReportViolation("NPObject.Invoke on the object of a destroyed instance");
        if (!known || !instance)
            return false;
        return CallMethod(*instance, *known, args, count, result);
    });
}

bool InvokeDefault(NPObject* object, const NPVariant* args, std::uint32_t count, NPVariant*)
{
    return GuardedOr(false, [&] {
        CallLogOfProcess().Record(
            ObjectCall("NPObject.InvokeDefault", object).Raw("args", VariantsText(args, count)));
        return false;
    });
}

bool HasProperty(NPObject* object, NPIdentifier name)
{
    return GuardedOr(false, [&] {
        std::string property = TheBrowser().IdentifierName(name);
        CallLogOfProcess().Record(
            ObjectCall("NPObject.HasProperty", object).Text("name", property));
        return object && property == kLoopProperty;
    });
}

bool GetProperty(NPObject* object, NPIdentifier name, NPVariant* result)
{
    return GuardedOr(false, [&] {
        std::string property = TheBrowser().IdentifierName(name);
        CallLogOfProcess().Record(
            ObjectCall("NPObject.GetProperty", object).Text("name", property));
        InstanceScope instance = ScopeOf(object);
        if (!result || !instance || property != kLoopProperty)
            return false;
        SetBool(result, instance->Loop());
        return true;
    });
}

bool SetProperty(NPObject* object, NPIdentifier name, const NPVariant* value)
{
    return GuardedOr(false, [&] {
        std::string property = TheBrowser().IdentifierName(name);
        CallLogOfProcess().Record(ObjectCall("NPObject.SetProperty", object)
                                      .Text("name", property)
                                      .Raw("value", VariantsText(value, 1)));
        InstanceScope instance = ScopeOf(object);
        if (!value || !instance || property != kLoopProperty)
            return false;
        if (value->type == NPVariantType_Bool)
            instance->SetLoop(value->value.boolValue);
        else if (auto number = IntegerArgument(*value))
            instance->SetLoop(*number != 0);
        else
            return false;
        return true;
    });
}

bool RemoveProperty(NPObject*, NPIdentifier)
{
    return false;
}

} // namespace

NPClass* ScriptableObjectClass()
{
    static NPClass object_class = {
        NP_CLASS_STRUCT_VERSION_ENUM,
        Allocate,
        Deallocate,
        Invalidate,
        HasMethod,
        InvokeMethod,
        InvokeDefault,
        HasProperty,
        GetProperty,
        SetProperty,
        RemoveProperty,
        nullptr,
        nullptr,
    };
    return &object_class;
}

} // namespace zn::np
