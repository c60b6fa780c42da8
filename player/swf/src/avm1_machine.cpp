// The AVM1 stack machine: the run loop, scopes and calls.
#include "avm1_machine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "byte_reader.h"
#include "znswf/actions.h"

namespace zn::swf::avm1 {

Machine::Machine(PlayerControl& player, uint8_t version) : player_(player), version_(version)
{
    root_ = heap_.New(Object::Kind::Timeline);
    running_ = root_;
    global_ = heap_.New(Object::Kind::Plain);
    Object* external_interface = heap_.New(Object::Kind::Plain);
    external_interface->Set("call", Value::Of(NativeFunction(Native::ExternalCall)));
    external_interface->Set("addCallback", Value::Of(NativeFunction(Native::ExternalAddCallback)));
    external_interface->Set("available", Value::Boolean(true));
    Object* external = heap_.New(Object::Kind::Plain);
    external->Set("ExternalInterface", Value::Of(external_interface));
    Object* flash = heap_.New(Object::Kind::Plain);
    flash->Set("external", Value::Of(external));
    global_->Set("flash", Value::Of(flash));
    global_->Set("setInterval", Value::Of(NativeFunction(Native::SetInterval)));
    global_->Set("clearInterval", Value::Of(NativeFunction(Native::ClearInterval)));
    global_->Set("NetConnection", Value::Of(NativeFunction(Native::NewNetConnection)));
    global_->Set("NetStream", Value::Of(NativeFunction(Native::NewNetStream)));
    global_->Set("Sound", Value::Of(NativeFunction(Native::NewSound)));
}

Object* Machine::NativeFunction(Native native)
{
    Object* function = heap_.New(Object::Kind::Function);
    if (function)
        function->native = native;
    return function;
}

Object* Machine::NewClipObject(ClipControl& clip)
{
    Object* object = heap_.New(Object::Kind::Timeline);
    if (object)
        object->clip = &clip;
    return object;
}

void Machine::NewBudget()
{
    budget_ = RunBudget;
    exhausted_ = false;
}

bool Machine::Spend(long units)
{
    budget_ -= units;
    if (budget_ < 0)
        exhausted_ = true;
    return !exhausted_;
}

Value Machine::MakeString(std::string text)
{
    if (text.size() > MaximumStringLength)
        text.resize(MaximumStringLength);
    Spend(static_cast<long>(text.size() / 256));
    return Value::String(std::move(text));
}

Value Machine::Pop(Context& context)
{
    if (stack_.size() <= context.stackBase)
        return {};
    Value value = std::move(stack_.back());
    stack_.pop_back();
    return value;
}

void Machine::PushValue(Value value)
{
    if (stack_.size() < MaximumStack)
        stack_.push_back(std::move(value));
}

std::vector<Value> Machine::PopArguments(Context& context)
{
    double requested = ToNumber(Pop(context), version_);
    size_t available = stack_.size() - context.stackBase;
    size_t count =
        requested > 0
            ? static_cast<size_t>(std::min<double>(requested, static_cast<double>(available)))
            : 0;
    std::vector<Value> arguments;
    arguments.reserve(count);
    for (size_t i = 0; i < count; ++i)
        arguments.push_back(Pop(context));
    return arguments;
}

void Machine::RunBlock(const ActionBlock& block, Object* timeline)
{
    if (!block)
        return;
    Context context;
    context.block = block;
    context.end = block->size();
    context.constants = std::make_shared<const std::vector<std::string>>();
    context.registers.resize(4);
    context.timeline = timeline ? timeline : root_;
    context.self = Value::Of(context.timeline);
    Execute(context);
}

Value Machine::Execute(Context& context)
{
    if (depth_ >= MaximumCallDepth)
        return {};
    ++depth_;
    Object* outer_timeline = std::exchange(running_, context.timeline);
    context.stackBase = stack_.size();
    const uint8_t* code = context.block->data();
    size_t pc = context.start;
    while (pc < context.end && !exhausted_ && Spend(1)) {
        uint8_t action = code[pc];
        if (action == static_cast<uint8_t>(Action::End))
            break;
        size_t payload = pc + 1, length = 0;
        if (action >= 0x80) {
            if (context.end - pc < 3)
                break;
            length = static_cast<size_t>(code[pc + 1] | code[pc + 2] << 8);
            payload = pc + 3;
            if (length > context.end - payload)
                break;
        }
        size_t next = payload + length;
        bool going = Step(context, action, code + payload, length, next);
        Spend(static_cast<long>(std::min<size_t>(player_.TakeWork() / 8, RunBudget)));
        if (!going)
            break;
        if (next < context.start || next > context.end)
            break; // a branch out of the block ends it
        pc = next;
    }
    stack_.resize(context.stackBase);
    running_ = outer_timeline;
    --depth_;
    return context.returned;
}

Value Machine::MakeFunction(Context& context, std::string name, FunctionCode code)
{
    code.block = context.block;
    code.constants = context.constants;
    code.scope = context.activation;
    code.timeline = context.timeline;
    Object* function = heap_.New(Object::Kind::Function);
    if (!function)
        return {};
    function->code = std::move(code);
    Value value = Value::Of(function);
    if (!name.empty()) {
        (context.activation ? context.activation : context.timeline)->Set(name, value);
    }
    return value;
}

Value Machine::Call(const Value& function, const Value& self, const std::vector<Value>& arguments)
{
    if (function.type != Value::Type::Object || !function.object->IsCallable())
        return {};
    Object* callee = function.object;
    if (callee->native != Native::None)
        return CallNative(callee->native, self, arguments);
    if (!callee->code || depth_ >= MaximumCallDepth)
        return {};
    const FunctionCode& code = *callee->code;
    Object* activation = heap_.New(Object::Kind::Activation);
    if (!activation)
        return {};
    activation->scopeParent = code.scope;
    Context context;
    context.block = code.block;
    context.start = code.start;
    context.end = code.end;
    context.constants = code.constants;
    context.activation = activation;
    context.timeline = code.timeline ? code.timeline : root_;
    context.self = self.IsUndefined() ? Value::Of(context.timeline) : self;
    context.registers.resize(std::max<size_t>(4, code.registerCount));
    Object* arguments_array = nullptr;
    bool wants_arguments = !code.isFunction2 || !(code.flags & function_flags::SuppressArguments);
    if (wants_arguments)
        arguments_array = NewArray(arguments);
    if (code.isFunction2) {
        size_t reg = 1;
        auto preload = [&](uint16_t flag, Value value) {
            if ((code.flags & flag) && reg < context.registers.size())
                context.registers[reg++] = std::move(value);
        };
        preload(function_flags::PreloadThis, context.self);
        preload(function_flags::PreloadArguments, Value::Of(arguments_array));
        preload(function_flags::PreloadSuper, Value{});
        preload(function_flags::PreloadRoot, Value::Of(root_));
        preload(function_flags::PreloadParent,
                context.timeline->clip ? Value::Of(context.timeline->clip->Parent()) : Value{});
        preload(function_flags::PreloadGlobal, Value::Of(global_));
    }
    if (arguments_array && !(code.isFunction2 && (code.flags & function_flags::PreloadArguments)))
        activation->Set("arguments", Value::Of(arguments_array));
    for (size_t i = 0; i < code.parameters.size(); ++i) {
        Value argument = i < arguments.size() ? arguments[i] : Value{};
        const FunctionParameterSlot& parameter = code.parameters[i];
        if (code.isFunction2 && parameter.reg != 0 && parameter.reg < context.registers.size())
            context.registers[parameter.reg] = std::move(argument);
        else
            activation->Set(parameter.name, std::move(argument));
    }
    return Execute(context);
}

std::optional<ExternalValue> Machine::InvokeCallback(const std::string& name,
                                                     const std::vector<ExternalValue>& arguments)
{
    auto it = callbacks_.find(name);
    if (it == callbacks_.end())
        return std::nullopt;
    std::vector<Value> values;
    for (const ExternalValue& argument : arguments)
        values.push_back(FromExternal(argument));
    Callback callback = it->second; // the callback may replace itself while it runs
    return ToExternal(Call(Value::Of(callback.function), callback.self, values));
}

std::vector<std::string> Machine::CallbackNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, callback] : callbacks_)
        names.push_back(name);
    return names;
}

Value Machine::FromExternal(const ExternalValue& value)
{
    switch (value.kind) {
    case ExternalValue::Kind::Undefined: return {};
    case ExternalValue::Kind::Null: return Value::Null();
    case ExternalValue::Kind::Boolean: return Value::Boolean(value.boolean);
    case ExternalValue::Kind::Number: return Value::Number(value.number);
    case ExternalValue::Kind::String: return MakeString(value.text);
    }
    return {};
}

ExternalValue Machine::ToExternal(const Value& value)
{
    switch (value.type) {
    case Value::Type::Undefined: return ExternalValue::Undefined();
    case Value::Type::Null: return ExternalValue::Null();
    case Value::Type::Boolean: return ExternalValue::Boolean(value.boolean);
    case Value::Type::Number: return ExternalValue::Number(value.number);
    case Value::Type::String: return ExternalValue::String(*value.string);
    case Value::Type::Object: return ExternalValue::Undefined(); // objects and arrays do not cross
    }
    return {};
}

Object* Machine::NewArray(const std::vector<Value>& elements)
{
    Object* array = heap_.New(Object::Kind::Array);
    if (!array)
        return nullptr;
    for (size_t i = 0; i < elements.size(); ++i)
        array->Set(FormatNumber(static_cast<double>(i)), elements[i]);
    array->Set("length", Value::Number(static_cast<double>(elements.size())));
    return array;
}

Value Machine::ClipProperty(Object* timeline, std::string_view name)
{
    return timeline && timeline->clip ? timeline->clip->Property(name) : Value{};
}

Value Machine::LookUp(Context* context, std::string_view name)
{
    Object* timeline = context ? context->timeline : root_;
    if (name == "this")
        return context ? context->self : Value::Of(root_);
    if (name == "_root" || name == "_level0")
        return Value::Of(root_);
    if (name == "_parent")
        return Value::Of(timeline->clip ? timeline->clip->Parent() : nullptr);
    if (name == "_global")
        return Value::Of(global_);
    for (Object* scope = context ? context->activation : nullptr; scope; scope = scope->scopeParent)
        if (const Value* value = scope->Find(name))
            return *value;
    Value member = GetMember(Value::Of(timeline), name);
    if (!member.IsUndefined())
        return member;
    if (const Value* value = global_->Find(name))
        return *value;
    return {};
}

bool Machine::ResolvePath(Context* context, const std::string& path, Object*& holder,
                          std::string& name)
{
    std::string normal = path;
    bool from_root = !normal.empty() && normal.front() == '/';
    if (from_root)
        normal.erase(0, 1);
    std::replace(normal.begin(), normal.end(), '/', '.');
    std::replace(normal.begin(), normal.end(), ':', '.');
    std::vector<std::string> parts;
    for (size_t begin = 0;;) {
        size_t dot = normal.find('.', begin);
        parts.push_back(
            normal.substr(begin, dot == std::string::npos ? std::string::npos : dot - begin));
        if (dot == std::string::npos)
            break;
        begin = dot + 1;
    }
    name = parts.back();
    if (parts.size() == 1) {
        holder = from_root ? root_ : nullptr;
        return !name.empty();
    }
    Value current = from_root ? GetMember(Value::Of(root_), parts[0]) : LookUp(context, parts[0]);
    for (size_t i = 1; i + 1 < parts.size(); ++i)
        current = GetMember(current, parts[i]);
    holder = current.type == Value::Type::Object ? current.object : nullptr;
    return holder != nullptr && !name.empty();
}

static bool IsPath(std::string_view name)
{
    return name.find_first_of("./:") != std::string_view::npos;
}

Value Machine::GetVariableIn(Context& context, const std::string& name)
{
    if (!IsPath(name))
        return LookUp(&context, name);
    Object* holder = nullptr;
    std::string member;
    if (!ResolvePath(&context, name, holder, member))
        return {};
    return holder ? GetMember(Value::Of(holder), member) : LookUp(&context, member);
}

void Machine::SetVariableIn(Context& context, const std::string& name, Value value)
{
    if (IsPath(name)) {
        Object* holder = nullptr;
        std::string member;
        if (ResolvePath(&context, name, holder, member) && holder)
            SetMember(Value::Of(holder), member, std::move(value));
        return;
    }
    for (Object* scope = context.activation; scope; scope = scope->scopeParent) {
        if (scope->Find(name)) {
            scope->Set(name, std::move(value));
            return;
        }
    }
    SetMember(Value::Of(context.timeline), name, std::move(value));
}

Value Machine::GetMember(const Value& target, std::string_view name)
{
    if (target.type == Value::Type::String && name == "length")
        return Value::Number(static_cast<double>(target.string->size()));
    if (target.type != Value::Type::Object)
        return {};
    Object* object = target.object;
    if (const Value* value = object->Find(name))
        return *value;
    if (const Object::Accessor* accessor = object->FindAccessor(name))
        return Call(Value::Of(accessor->getter), target, {});
    if (object->clip) {
        Value property = object->clip->Property(name);
        if (!property.IsUndefined())
            return property;
        if (Object* child = object->clip->Child(name))
            return Value::Of(child);
    }
    if (object->nativeClass == NativeClass::NetStream) {
        Value property = player_.StreamProperty(*object, name);
        if (!property.IsUndefined())
            return property;
    }
    return BuiltInMethod(*object, name);
}

void Machine::SetMember(const Value& target, std::string_view name, Value value)
{
    if (target.type != Value::Type::Object)
        return;
    Object* object = target.object;
    if (!object->Find(name)) {
        if (const Object::Accessor* accessor = object->FindAccessor(name)) {
            if (accessor->setter)
                Call(Value::Of(accessor->setter), target, {std::move(value)});
            return;
        }
        if (object->clip && object->clip->SetProperty(name, value))
            return;
    }
    object->Set(name, std::move(value));
    if (object->GetKind() != Object::Kind::Array)
        return;
    Value index = Value::String(std::string(name));
    double number = ToNumber(index, 7);
    const Value* length = object->Find("length");
    if (number >= 0 && number == std::floor(number) && length &&
        length->type == Value::Type::Number && number >= length->number)
        object->Set("length", Value::Number(number + 1));
}

std::optional<std::string> Machine::GetVariable(const std::string& path)
{
    Object* holder = nullptr;
    std::string name;
    if (!ResolvePath(nullptr, path, holder, name))
        return std::nullopt;
    Value value = holder ? GetMember(Value::Of(holder), name) : LookUp(nullptr, name);
    if (value.IsUndefined())
        return std::nullopt;
    return ToString(value, version_);
}

bool Machine::SetVariable(const std::string& path, const std::string& value)
{
    Object* holder = nullptr;
    std::string name;
    if (!ResolvePath(nullptr, path, holder, name))
        return false;
    Value text = Value::String(
        value.size() > MaximumStringLength ? value.substr(0, MaximumStringLength) : value);
    SetMember(Value::Of(holder ? holder : root_), name, std::move(text));
    return true;
}

} // namespace zn::swf::avm1
