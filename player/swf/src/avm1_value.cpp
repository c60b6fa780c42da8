// AVM1 values, objects and conversions.
#include "avm1_value.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "znswf/external_interface.h"

namespace zn::swf::avm1 {

Value Value::String(std::string s)
{
    return String(std::make_shared<const std::string>(std::move(s)));
}

const Value* Object::Find(std::string_view name) const
{
    auto it = members_.find(name);
    return it == members_.end() ? nullptr : &it->second;
}

bool Object::Set(std::string_view name, Value value)
{
    auto it = members_.find(name);
    if (it != members_.end()) {
        it->second = std::move(value);
        return true;
    }
    if (!heap_.TakeMember())
        return false;
    members_.emplace(std::string(name), std::move(value));
    return true;
}

bool Object::Remove(std::string_view name)
{
    auto it = members_.find(name);
    if (it == members_.end())
        return false;
    members_.erase(it);
    heap_.ReturnMember();
    return true;
}

const Object::Accessor* Object::FindAccessor(std::string_view name) const
{
    auto it = accessors_.find(name);
    return it == accessors_.end() ? nullptr : &it->second;
}

void Object::SetAccessor(std::string_view name, Accessor accessor)
{
    auto it = accessors_.find(name);
    if (it != accessors_.end())
        it->second = accessor;
    else if (heap_.TakeMember())
        accessors_.emplace(std::string(name), accessor);
}

Object* Heap::New(Object::Kind kind)
{
    if (objects_.size() >= MaximumObjects)
        return nullptr;
    objects_.push_back(std::make_unique<Object>(*this, kind));
    return objects_.back().get();
}

double ToNumber(const Value& value, uint8_t version)
{
    const double not_a_number = std::nan("");
    switch (value.type) {
    case Value::Type::Undefined:
    case Value::Type::Null: return version >= 7 ? not_a_number : 0;
    case Value::Type::Boolean: return value.boolean ? 1 : 0;
    case Value::Type::Number: return value.number;
    case Value::Type::Object: return not_a_number;
    case Value::Type::String: {
        const std::string& text = *value.string;
        size_t begin = text.find_first_not_of(" \t\r\n");
        if (begin == std::string::npos)
            return version >= 7 ? not_a_number : 0;
        const char* start = text.c_str() + begin;
        char* stop = nullptr;
        double number = std::strtod(start, &stop);
        if (stop == start)
            return not_a_number;
        while (*stop && std::strchr(" \t\r\n", *stop))
            ++stop;
        return *stop ? not_a_number : number;
    }
    }
    return not_a_number;
}

bool ToBoolean(const Value& value, uint8_t version)
{
    switch (value.type) {
    case Value::Type::Undefined:
    case Value::Type::Null: return false;
    case Value::Type::Boolean: return value.boolean;
    case Value::Type::Number: return value.number != 0 && !std::isnan(value.number);
    case Value::Type::Object: return true;
    case Value::Type::String:
        if (version >= 7)
            return !value.string->empty();
        {
            double number = ToNumber(value, version);
            return number != 0 && !std::isnan(number);
        }
    }
    return false;
}

std::string ToString(const Value& value, uint8_t version)
{
    switch (value.type) {
    case Value::Type::Undefined: return version >= 7 ? "undefined" : "";
    case Value::Type::Null: return "null";
    case Value::Type::Boolean: return value.boolean ? "true" : "false";
    case Value::Type::Number: return FormatNumber(value.number);
    case Value::Type::String: return *value.string;
    case Value::Type::Object:
        if (value.object->IsCallable())
            return "[type Function]";
        if (value.object->clip)
            return value.object->clip->TargetPath();
        if (value.object->GetKind() == Object::Kind::Array) {
            std::string text;
            const Value* length = value.object->Find("length");
            double count = length && length->type == Value::Type::Number ? length->number : 0;
            for (double i = 0; i < count && text.size() < 4096; ++i) {
                if (i > 0)
                    text += ',';
                const Value* element = value.object->Find(FormatNumber(i));
                if (element && element->type != Value::Type::Object)
                    text += ToString(*element, version);
            }
            return text;
        }
        return "[object Object]";
    }
    return {};
}

int32_t ToInt32(double number)
{
    if (!std::isfinite(number))
        return 0;
    double wrapped = std::fmod(std::trunc(number), 4294967296.0);
    if (wrapped < 0)
        wrapped += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(wrapped));
}

bool StrictlyEquals(const Value& a, const Value& b)
{
    if (a.type != b.type)
        return false;
    switch (a.type) {
    case Value::Type::Undefined:
    case Value::Type::Null: return true;
    case Value::Type::Boolean: return a.boolean == b.boolean;
    case Value::Type::Number: return a.number == b.number;
    case Value::Type::String: return *a.string == *b.string;
    case Value::Type::Object: return a.object == b.object;
    }
    return false;
}

bool LooseEquals(const Value& a, const Value& b, uint8_t version)
{
    using T = Value::Type;
    if (a.type == b.type)
        return StrictlyEquals(a, b);
    bool a_nothing = a.type == T::Undefined || a.type == T::Null;
    bool b_nothing = b.type == T::Undefined || b.type == T::Null;
    if (a_nothing || b_nothing)
        return a_nothing && b_nothing;
    if (a.type == T::Object || b.type == T::Object) {
        const Value& object = a.type == T::Object ? a : b;
        const Value& other = a.type == T::Object ? b : a;
        return LooseEquals(Value::String(ToString(object, version)), other, version);
    }
    return ToNumber(a, version) == ToNumber(b, version);
}

std::string TypeName(const Value& value)
{
    switch (value.type) {
    case Value::Type::Undefined: return "undefined";
    case Value::Type::Null: return "null";
    case Value::Type::Boolean: return "boolean";
    case Value::Type::Number: return "number";
    case Value::Type::String: return "string";
    case Value::Type::Object:
        if (value.object->IsCallable())
            return "function";
        if (value.object->clip && !value.object->clip->IsVideo())
            return "movieclip";
        return "object";
    }
    return "undefined";
}

} // namespace zn::swf::avm1
