// The AVM1 machine's actions, one case each. Actions it does not know are skipped by their
// length; stack effects they would have had are not imitated.
#include <cmath>

#include "avm1_machine.h"
#include "byte_reader.h"
#include "znswf/actions.h"

namespace zn::swf::avm1 {
namespace {

Value ToPrimitive(const Value& value, uint8_t version)
{
    return value.type == Value::Type::Object ? Value::String(ToString(value, version)) : value;
}

} // namespace

bool Machine::Step(Context& context, uint8_t code, const uint8_t* payload, size_t length,
                   size_t& next)
{
    ByteReader in(payload, length);
    const uint8_t v = version_;
    auto pop = [&] { return Pop(context); };
    auto number = [&] { return ToNumber(pop(), v); };
    auto text = [&] { return ToString(pop(), v); };
    auto binary_number = [&](auto operation) {
        double b = number(), a = number();
        PushValue(Value::Number(operation(a, b)));
    };
    auto binary_integer = [&](auto operation) {
        int32_t b = ToInt32(number()), a = ToInt32(number());
        PushValue(Value::Number(static_cast<double>(operation(a, b))));
    };

    // A timeline that has left the stage still runs its script, which no longer moves it.
    ClipControl* clip = context.timeline->clip;
    switch (static_cast<Action>(code)) {
    case Action::NextFrame:
        if (clip)
            clip->StepFrame(1);
        break;
    case Action::PreviousFrame:
        if (clip)
            clip->StepFrame(-1);
        break;
    case Action::Play:
        if (clip)
            clip->SetPlaying(true);
        break;
    case Action::Stop:
        if (clip)
            clip->SetPlaying(false);
        break;
    case Action::GotoFrame: {
        uint16_t frame = in.U16();
        if (clip)
            clip->GotoFrame(frame);
        break;
    }
    case Action::GotoLabel: {
        std::string label = in.String();
        if (!in.Failed() && clip)
            clip->GotoLabel(label);
        break;
    }
    case Action::GotoFrame2: {
        uint8_t flags = in.U8();
        int bias = (flags & 0x02) ? in.U16() : 0;
        Value frame = pop();
        if (clip) {
            GotoTarget(*clip, frame, bias);
            clip->SetPlaying(flags & 0x01);
        }
        break;
    }
    case Action::GetUrl: {
        std::string url = in.String(), target = in.String();
        if (!in.Failed())
            player_.GetUrl(url, target);
        break;
    }
    case Action::GetUrl2: {
        std::string target = text(), url = text();
        player_.GetUrl(url, target);
        break;
    }

    case Action::Push:
        while (in.Remaining() > 0) {
            auto type = static_cast<PushType>(in.U8());
            Value value;
            switch (type) {
            case PushType::String: value = MakeString(in.String()); break;
            case PushType::Float: value = Value::Number(in.F32()); break;
            case PushType::Null: value = Value::Null(); break;
            case PushType::Undefined: break;
            case PushType::Register: {
                uint8_t reg = in.U8();
                if (reg < context.registers.size())
                    value = context.registers[reg];
                break;
            }
            case PushType::Boolean: value = Value::Boolean(in.U8() != 0); break;
            case PushType::Double: value = Value::Number(in.F64()); break;
            case PushType::Integer: value = Value::Number(static_cast<int32_t>(in.U32())); break;
            case PushType::Constant8:
            case PushType::Constant16: {
                size_t index = type == PushType::Constant8 ? in.U8() : in.U16();
                if (index < context.constants->size())
                    value = Value::String((*context.constants)[index]);
                break;
            }
            default: in.Skip(in.Remaining() + 1); break;
            }
            if (in.Failed())
                break;
            PushValue(std::move(value));
        }
        break;
    case Action::Pop: pop(); break;
    case Action::PushDuplicate: {
        Value top = pop();
        PushValue(top);
        PushValue(std::move(top));
        break;
    }
    case Action::StackSwap: {
        Value b = pop(), a = pop();
        PushValue(std::move(b));
        PushValue(std::move(a));
        break;
    }
    case Action::StoreRegister: {
        uint8_t reg = in.U8();
        if (!in.Failed() && reg < context.registers.size() && stack_.size() > context.stackBase)
            context.registers[reg] = stack_.back();
        break;
    }
    case Action::ConstantPool: {
        auto constants = std::make_shared<std::vector<std::string>>();
        uint16_t count = in.U16();
        for (uint16_t i = 0; i < count && !in.Failed(); ++i)
            constants->push_back(in.String());
        if (!in.Failed())
            context.constants = std::move(constants);
        Spend(count);
        break;
    }

    case Action::Add: binary_number([](double a, double b) { return a + b; }); break;
    case Action::Subtract: binary_number([](double a, double b) { return a - b; }); break;
    case Action::Multiply: binary_number([](double a, double b) { return a * b; }); break;
    case Action::Divide: binary_number([](double a, double b) { return a / b; }); break;
    case Action::Modulo: binary_number([](double a, double b) { return std::fmod(a, b); }); break;
    case Action::Increment: PushValue(Value::Number(number() + 1)); break;
    case Action::Decrement: PushValue(Value::Number(number() - 1)); break;
    case Action::BitAnd: binary_integer([](int32_t a, int32_t b) { return a & b; }); break;
    case Action::BitOr: binary_integer([](int32_t a, int32_t b) { return a | b; }); break;
    case Action::BitXor: binary_integer([](int32_t a, int32_t b) { return a ^ b; }); break;
    case Action::BitLShift:
        binary_integer([](int32_t a, int32_t b) {
            return static_cast<int32_t>(static_cast<uint32_t>(a) << (b & 31));
        });
        break;
    case Action::BitRShift:
        binary_integer([](int32_t a, int32_t b) { return a >> (b & 31); });
        break;
    case Action::BitURShift: {
        int32_t b = ToInt32(number()), a = ToInt32(number());
        PushValue(Value::Number(static_cast<double>(static_cast<uint32_t>(a) >> (b & 31))));
        break;
    }
    case Action::Equals: {
        double b = number(), a = number();
        PushValue(Value::Boolean(a == b));
        break;
    }
    case Action::Less: {
        double b = number(), a = number();
        PushValue(Value::Boolean(a < b));
        break;
    }
    case Action::And: {
        bool b = ToBoolean(pop(), v), a = ToBoolean(pop(), v);
        PushValue(Value::Boolean(a && b));
        break;
    }
    case Action::Or: {
        bool b = ToBoolean(pop(), v), a = ToBoolean(pop(), v);
        PushValue(Value::Boolean(a || b));
        break;
    }
    case Action::Not: PushValue(Value::Boolean(!ToBoolean(pop(), v))); break;
    case Action::ToInteger: PushValue(Value::Number(std::trunc(number()))); break;
    case Action::ToNumber: PushValue(Value::Number(number())); break;
    case Action::ToString: PushValue(MakeString(text())); break;
    case Action::TypeOf: PushValue(Value::String(TypeName(pop()))); break;

    case Action::StringAdd: {
        std::string b = text(), a = text();
        PushValue(MakeString(a + b));
        break;
    }
    case Action::StringEquals: {
        std::string b = text(), a = text();
        PushValue(Value::Boolean(a == b));
        break;
    }
    case Action::StringLess: {
        std::string b = text(), a = text();
        PushValue(Value::Boolean(a < b));
        break;
    }
    case Action::StringLength: PushValue(Value::Number(static_cast<double>(text().size()))); break;
    case Action::StringExtract: {
        double count = number(), index = number();
        std::string source = text();
        double begin = std::isfinite(index) ? std::max(index - 1, 0.0) : 0;
        std::string part;
        if (begin < static_cast<double>(source.size())) {
            size_t from = static_cast<size_t>(begin);
            size_t take = count >= 0 && std::isfinite(count)
                              ? static_cast<size_t>(std::min<double>(count, 1e9))
                              : std::string::npos;
            part = source.substr(from, take);
        }
        PushValue(MakeString(std::move(part)));
        break;
    }

    case Action::Add2: {
        Value b = ToPrimitive(pop(), v), a = ToPrimitive(pop(), v);
        if (a.type == Value::Type::String || b.type == Value::Type::String)
            PushValue(MakeString(ToString(a, v) + ToString(b, v)));
        else
            PushValue(Value::Number(ToNumber(a, v) + ToNumber(b, v)));
        break;
    }
    case Action::Less2:
    case Action::Greater: {
        Value b = ToPrimitive(pop(), v), a = ToPrimitive(pop(), v);
        if (static_cast<Action>(code) == Action::Greater)
            std::swap(a, b);
        if (a.type == Value::Type::String && b.type == Value::Type::String) {
            PushValue(Value::Boolean(*a.string < *b.string));
            break;
        }
        double x = ToNumber(a, v), y = ToNumber(b, v);
        PushValue(std::isnan(x) || std::isnan(y) ? Value{} : Value::Boolean(x < y));
        break;
    }
    case Action::Equals2: {
        Value b = pop(), a = pop();
        PushValue(Value::Boolean(LooseEquals(a, b, v)));
        break;
    }
    case Action::StrictEquals: {
        Value b = pop(), a = pop();
        PushValue(Value::Boolean(StrictlyEquals(a, b)));
        break;
    }

    case Action::GetVariable: PushValue(GetVariableIn(context, text())); break;
    case Action::SetVariable: {
        Value value = pop();
        SetVariableIn(context, text(), std::move(value));
        break;
    }
    case Action::DefineLocal: {
        Value value = pop();
        std::string name = text();
        (context.activation ? context.activation : context.timeline)->Set(name, std::move(value));
        break;
    }
    case Action::DefineLocal2: {
        std::string name = text();
        Object* scope = context.activation ? context.activation : context.timeline;
        if (!scope->Find(name))
            scope->Set(name, Value{});
        break;
    }
    case Action::Delete: {
        std::string name = text();
        Value target = pop();
        PushValue(
            Value::Boolean(target.type == Value::Type::Object && target.object->Remove(name)));
        break;
    }
    case Action::Delete2: {
        std::string name = text();
        bool removed = false;
        for (Object* scope = context.activation; scope && !removed; scope = scope->scopeParent)
            removed = scope->Remove(name);
        if (!removed)
            removed = context.timeline->Remove(name);
        PushValue(Value::Boolean(removed));
        break;
    }
    case Action::GetMember: {
        std::string name = text();
        Value target = pop();
        PushValue(GetMember(target, name));
        break;
    }
    case Action::SetMember: {
        Value value = pop();
        std::string name = text();
        Value target = pop();
        SetMember(target, name, std::move(value));
        break;
    }
    case Action::GetProperty:
    case Action::SetProperty: {
        bool set = static_cast<Action>(code) == Action::SetProperty;
        Value value = set ? pop() : Value{};
        double index = number();
        Value target = pop();
        static constexpr const char* names[] = {
            "_x",       "_y",     "_xscale", "_yscale",   "_currentframe", "_totalframes", "_alpha",
            "_visible", "_width", "_height", "_rotation", "_target",       "_framesloaded"};
        bool known = index >= 0 && index < static_cast<double>(std::size(names));
        // An empty target is the timeline the script runs on.
        std::string path = ToString(target, v);
        Value holder = path.empty() ? Value::Of(context.timeline) : GetVariableIn(context, path);
        Object* object = holder.type == Value::Type::Object ? holder.object : nullptr;
        const char* name = known ? names[static_cast<size_t>(index)] : nullptr;
        if (set) {
            if (name && object && object->clip)
                object->clip->SetProperty(name, value);
            break;
        }
        PushValue(name && object ? ClipProperty(object, name) : Value{});
        break;
    }
    case Action::InitObject: {
        double count = number();
        Object* object = heap_.New(Object::Kind::Plain);
        for (double i = 0; i < count && stack_.size() > context.stackBase + 1; ++i) {
            Value value = pop();
            std::string name = text();
            if (object)
                object->Set(name, std::move(value));
        }
        PushValue(Value::Of(object));
        break;
    }
    case Action::InitArray: {
        std::vector<Value> elements;
        double count = number();
        for (double i = 0; i < count && stack_.size() > context.stackBase; ++i)
            elements.push_back(pop());
        PushValue(Value::Of(NewArray(elements)));
        break;
    }
    case Action::Enumerate2: {
        Value target = pop();
        PushValue(Value::Null());
        if (target.type == Value::Type::Object)
            for (const auto& [name, value] : target.object->Members()) {
                if (!Spend(1))
                    break;
                PushValue(Value::String(name));
            }
        break;
    }

    case Action::CallFunction: {
        std::string name = text();
        std::vector<Value> arguments = PopArguments(context);
        PushValue(Call(GetVariableIn(context, name), Value{}, arguments));
        break;
    }
    case Action::CallMethod: {
        Value name = pop();
        Value target = pop();
        std::vector<Value> arguments = PopArguments(context);
        bool direct =
            name.IsUndefined() || (name.type == Value::Type::String && name.string->empty());
        Value function = direct ? target : GetMember(target, ToString(name, v));
        PushValue(Call(function, direct ? Value{} : target, arguments));
        break;
    }
    case Action::NewObject: {
        std::string name = text();
        std::vector<Value> arguments = PopArguments(context);
        if (name == "Array") {
            PushValue(Value::Of(NewArray(arguments)));
            break;
        }
        Object* object = heap_.New(Object::Kind::Plain);
        Value constructor = name == "Object" ? Value{} : GetVariableIn(context, name);
        if (object && constructor.type == Value::Type::Object)
            Call(constructor, Value::Of(object), arguments);
        PushValue(Value::Of(object));
        break;
    }
    case Action::Return: context.returned = pop(); return false;

    case Action::DefineFunction:
    case Action::DefineFunction2: {
        bool second = static_cast<Action>(code) == Action::DefineFunction2;
        std::string name = in.String();
        FunctionCode function;
        function.isFunction2 = second;
        uint16_t parameters = in.U16();
        if (second) {
            function.registerCount = in.U8();
            function.flags = in.U16();
        }
        for (uint16_t i = 0; i < parameters && !in.Failed(); ++i) {
            FunctionParameterSlot slot;
            if (second)
                slot.reg = in.U8();
            slot.name = in.String();
            function.parameters.push_back(std::move(slot));
        }
        size_t size = in.U16();
        if (in.Failed() || size > context.end - next)
            return false;
        function.start = next;
        function.end = next + size;
        next += size;
        bool named = !name.empty();
        Value made = MakeFunction(context, std::move(name), std::move(function));
        if (!named)
            PushValue(std::move(made));
        break;
    }

    case Action::Jump: {
        int16_t offset = in.S16();
        next = static_cast<size_t>(static_cast<std::ptrdiff_t>(next) + offset);
        break;
    }
    case Action::If: {
        int16_t offset = in.S16();
        if (ToBoolean(pop(), v))
            next = static_cast<size_t>(static_cast<std::ptrdiff_t>(next) + offset);
        break;
    }

    case Action::Trace: pop(); break;
    case Action::RandomNumber: {
        double limit = number();
        randomState_ = randomState_ * 1664525u + 1013904223u;
        double fraction = (randomState_ >> 8) / 16777216.0;
        PushValue(Value::Number(
            limit > 0 && std::isfinite(limit) ? std::floor(fraction * std::floor(limit)) : 0));
        break;
    }
    case Action::GetTime:
        PushValue(
            Value::Number(static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - started_)
                                                  .count())));
        break;
    default: break;
    }
    return true;
}

} // namespace zn::swf::avm1
