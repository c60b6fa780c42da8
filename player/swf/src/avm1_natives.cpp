// The machine's built-in functions and methods: the timeline methods of clips, the built-in
// classes the player keeps state for (NetConnection, NetStream, Sound), addProperty, timers
// and ExternalInterface.
#include <algorithm>
#include <cmath>

#include "avm1_machine.h"

namespace zn::swf::avm1 {
namespace {

struct MethodName {
    const char* name;
    Native native;
};

constexpr MethodName ClipMethods[] = {
    {"play", Native::Play},
    {"stop", Native::Stop},
    {"gotoAndPlay", Native::GotoAndPlay},
    {"gotoAndStop", Native::GotoAndStop},
    {"nextFrame", Native::NextFrame},
    {"prevFrame", Native::PreviousFrame},
    {"createEmptyMovieClip", Native::CreateEmptyMovieClip},
    {"loadMovie", Native::LoadMovie},
};
constexpr MethodName VideoMethods[] = {{"attachVideo", Native::AttachVideo}};
constexpr MethodName ConnectionMethods[] = {{"connect", Native::Connect}};
constexpr MethodName StreamMethods[] = {{"play", Native::StreamPlay},
                                        {"pause", Native::StreamPause},
                                        {"seek", Native::StreamSeek},
                                        {"close", Native::StreamClose}};
constexpr MethodName SoundMethods[] = {{"setVolume", Native::SetVolume},
                                       {"getVolume", Native::GetVolume}};

template <size_t N>
Native Lookup(const MethodName (&methods)[N], std::string_view name)
{
    for (const MethodName& method : methods)
        if (name == method.name)
            return method.native;
    return Native::None;
}

} // namespace

Object* Machine::NativeMethod(Native native)
{
    Object*& method = nativeMethods_[native];
    if (!method)
        method = NativeFunction(native);
    return method;
}

Value Machine::BuiltInMethod(const Object& object, std::string_view name)
{
    Native native = Native::None;
    if (object.clip)
        native = object.clip->IsVideo() ? Lookup(VideoMethods, name) : Lookup(ClipMethods, name);
    else if (object.nativeClass == NativeClass::NetConnection)
        native = Lookup(ConnectionMethods, name);
    else if (object.nativeClass == NativeClass::NetStream)
        native = Lookup(StreamMethods, name);
    else if (object.nativeClass == NativeClass::Sound)
        native = Lookup(SoundMethods, name);
    if (native == Native::None && name == "addProperty" &&
        object.GetKind() != Object::Kind::Function)
        native = Native::AddProperty;
    return native == Native::None ? Value{} : Value::Of(NativeMethod(native));
}

void Machine::GotoTarget(ClipControl& clip, const Value& frame, int bias)
{
    if (frame.type == Value::Type::String) {
        double number = ToNumber(frame, 7);
        if (std::isnan(number)) {
            clip.GotoLabel(*frame.string);
            return;
        }
        GotoTarget(clip, Value::Number(number), bias);
        return;
    }
    double number = ToNumber(frame, version_);
    if (!std::isfinite(number) || number + bias < 1) {
        clip.GotoFrame(0);
        return;
    }
    clip.GotoFrame(static_cast<size_t>(std::min(number + bias, 1e9)) - 1);
}

Value Machine::CallNative(Native native, const Value& self, const std::vector<Value>& arguments)
{
    auto argument = [&](size_t i) { return i < arguments.size() ? arguments[i] : Value{}; };
    Object* object = self.type == Value::Type::Object ? self.object : nullptr;
    // Timeline methods called as plain functions act on the timeline of the script.
    ClipControl* clip = object ? object->clip : running_->clip;
    switch (native) {
    case Native::ExternalCall: {
        std::vector<ExternalValue> values;
        for (size_t i = 1; i < arguments.size(); ++i)
            values.push_back(ToExternal(arguments[i]));
        std::string answer = player_.CallExternal(ToString(argument(0), 7), values);
        return FromExternal(DecodeExternalValue(answer));
    }
    case Native::ExternalAddCallback: {
        Value function = argument(2);
        if (function.type != Value::Type::Object || !function.object->IsCallable())
            return Value::Boolean(false);
        callbacks_[ToString(argument(0), 7)] = {function.object, argument(1)};
        return Value::Boolean(true);
    }
    case Native::Play:
    case Native::Stop:
        if (clip)
            clip->SetPlaying(native == Native::Play);
        return {};
    case Native::GotoAndPlay:
    case Native::GotoAndStop:
        if (clip) {
            GotoTarget(*clip, argument(0), 0);
            clip->SetPlaying(native == Native::GotoAndPlay);
        }
        return {};
    case Native::NextFrame:
    case Native::PreviousFrame:
        if (clip)
            clip->StepFrame(native == Native::NextFrame ? 1 : -1);
        return {};
    case Native::CreateEmptyMovieClip: {
        double depth = ToNumber(argument(1), version_);
        if (!clip || !std::isfinite(depth) || depth < 0 || depth > 65535)
            return {};
        return Value::Of(
            clip->CreateEmptyClip(ToString(argument(0), version_), static_cast<int>(depth)));
    }
    case Native::LoadMovie:
        if (clip)
            clip->LoadMovie(ToString(argument(0), version_));
        return {};
    case Native::AttachVideo:
        if (clip) {
            Value stream = argument(0);
            bool is_stream = stream.type == Value::Type::Object &&
                             stream.object->nativeClass == NativeClass::NetStream;
            clip->AttachVideo(is_stream ? stream.object : nullptr);
        }
        return {};
    case Native::AddProperty: {
        Value getter = argument(1), setter = argument(2);
        std::string name = ToString(argument(0), version_);
        bool callable_getter = getter.type == Value::Type::Object && getter.object->IsCallable();
        bool setter_ok = setter.type == Value::Type::Null ||
                         (setter.type == Value::Type::Object && setter.object->IsCallable());
        if (!object || name.empty() || !callable_getter || !setter_ok)
            return Value::Boolean(false);
        object->SetAccessor(
            name, {getter.object, setter.type == Value::Type::Object ? setter.object : nullptr});
        return Value::Boolean(true);
    }
    case Native::SetInterval: return SetIntervalFrom(arguments);
    case Native::ClearInterval:
        intervals_.erase(static_cast<uint32_t>(ToInt32(ToNumber(argument(0), version_))));
        return {};
    case Native::NewNetConnection:
        if (object)
            object->nativeClass = NativeClass::NetConnection;
        return {};
    case Native::Connect:
        // Only the local connection, for streams of files, is known.
        return Value::Boolean(argument(0).type == Value::Type::Null);
    case Native::NewNetStream:
        if (object && object->nativeClass == NativeClass::None) {
            object->nativeClass = NativeClass::NetStream;
            player_.NewStream(*object);
        }
        return {};
    case Native::StreamPlay:
    case Native::StreamPause:
    case Native::StreamSeek:
    case Native::StreamClose: return CallStreamNative(native, object, arguments);
    case Native::NewSound:
        if (object)
            object->nativeClass = NativeClass::Sound;
        return {};
    case Native::SetVolume: {
        double volume = ToNumber(argument(0), version_);
        if (std::isfinite(volume))
            player_.SetVolume(std::clamp(volume, 0.0, 100.0));
        return {};
    }
    case Native::GetVolume: return Value::Number(player_.Volume());
    case Native::None: return {};
    }
    return {};
}

Value Machine::CallStreamNative(Native native, Object* stream, const std::vector<Value>& arguments)
{
    if (!stream || stream->nativeClass != NativeClass::NetStream)
        return {};
    Value first = arguments.empty() ? Value{} : arguments.front();
    switch (native) {
    case Native::StreamPlay: player_.StreamPlay(*stream, ToString(first, version_)); break;
    case Native::StreamPause:
        player_.StreamPause(*stream, first.IsUndefined()
                                         ? std::nullopt
                                         : std::optional<bool>(ToBoolean(first, version_)));
        break;
    case Native::StreamSeek: {
        double seconds = ToNumber(first, version_);
        player_.StreamSeek(*stream, std::isfinite(seconds) ? std::max(seconds, 0.0) : 0);
        break;
    }
    case Native::StreamClose: player_.StreamClose(*stream); break;
    default: break;
    }
    return {};
}

// setInterval(function, milliseconds, arguments...) or setInterval(object, "method",
// milliseconds, arguments...).
Value Machine::SetIntervalFrom(const std::vector<Value>& arguments)
{
    if (arguments.empty() || arguments.front().type != Value::Type::Object)
        return {};
    Interval interval;
    interval.function = arguments.front();
    size_t next = 1;
    if (!arguments.front().object->IsCallable()) {
        if (arguments.size() < 2)
            return {};
        interval.method = ToString(arguments[1], version_);
        next = 2;
    }
    double period = next < arguments.size() ? ToNumber(arguments[next], version_) : 0;
    if (!std::isfinite(period))
        period = 0;
    interval.period = std::max(period, 1.0);
    interval.due = clock_ + interval.period;
    interval.arguments.assign(arguments.begin() +
                                  static_cast<std::ptrdiff_t>(std::min(next + 1, arguments.size())),
                              arguments.end());
    uint32_t id = nextInterval_++;
    intervals_[id] = std::move(interval);
    return Value::Number(id);
}

void Machine::AdvanceClock(double milliseconds)
{
    clock_ += milliseconds;
    std::vector<uint32_t> due;
    for (const auto& [id, interval] : intervals_)
        if (interval.due <= clock_)
            due.push_back(id);
    // A timer runs at most once per advance, however short its period: the clock's step is
    // the finest time the player knows.
    for (uint32_t id : due) {
        auto it = intervals_.find(id);
        if (it == intervals_.end() || exhausted_)
            continue; // cleared by an earlier timer
        Interval& due_interval = it->second;
        due_interval.due += due_interval.period;
        if (due_interval.due <= clock_)
            due_interval.due = clock_ + due_interval.period;
        Interval interval = it->second; // the call may clear or replace it
        if (interval.method.empty())
            Call(interval.function, Value{}, interval.arguments);
        else
            Call(GetMember(interval.function, interval.method), interval.function,
                 interval.arguments);
    }
}

bool Machine::HasHandler(Object* target, const std::string& handler)
{
    if (!target)
        return false;
    const Value* value = target->Find(handler);
    return value && value->type == Value::Type::Object && value->object->IsCallable();
}

void Machine::Dispatch(Object* target, const std::string& handler, const EventInfo* info)
{
    if (!HasHandler(target, handler))
        return;
    std::vector<Value> arguments;
    if (info) {
        Object* object = heap_.New(Object::Kind::Plain);
        if (object)
            for (const auto& [name, value] : *info)
                object->Set(name, FromExternal(value));
        arguments.push_back(Value::Of(object));
    }
    Value function = *target->Find(handler); // the handler may replace itself
    Call(function, Value::Of(target), arguments);
}

} // namespace zn::swf::avm1
