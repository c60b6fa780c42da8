// The AVM1 stack machine: runs a frame's action blocks and the functions they define, with a
// fixed budget of work per run and a bounded call depth, so that no script can hang or
// exhaust the host. It reaches the timeline and the host only through TimelineControl.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "avm1_value.h"
#include "znswf/movie.h"
#include "znswf/external_interface.h"

namespace zn::swf::avm1 {

// What scripts reach of the player beyond the clips: the host, and the state of streams and
// sound, which the player keeps.
class PlayerControl {
public:
    virtual ~PlayerControl() = default;
    virtual void GetUrl(const std::string& url, const std::string& target) = 0;
    virtual std::string CallExternal(const std::string& name,
                                     const std::vector<ExternalValue>& arguments) = 0;
    // Work the player did for the script since the last call (placements applied, frames
    // searched), which the script's budget pays for: a goto can cost far more than one action.
    virtual size_t TakeWork() = 0;

    // NetStream objects: `stream` is the object, whose handle the player assigns.
    virtual void NewStream(Object& stream) = 0;
    virtual void StreamPlay(Object& stream, const std::string& url) = 0;
    virtual void StreamPause(Object& stream, std::optional<bool> pause) = 0; // none toggles
    virtual void StreamSeek(Object& stream, double seconds) = 0;
    virtual void StreamClose(Object& stream) = 0;
    // time, bytesLoaded, bytesTotal; undefined for other names.
    virtual Value StreamProperty(const Object& stream, std::string_view name) const = 0;

    virtual void SetVolume(double volume) = 0; // 0 to 100
    virtual double Volume() const = 0;
};

class Machine {
public:
    // Work units the scripts may spend between two calls of NewBudget (an action is one unit,
    // long strings and gotos cost more).
    static constexpr long RunBudget = 200000;
    static constexpr int MaximumCallDepth = 64;
    static constexpr size_t MaximumStack = 1 << 16;
    static constexpr size_t MaximumStringLength = 1 << 20;

    Machine(PlayerControl& player, uint8_t version);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Every host call into the player starts one budget, shared by all the scripts it runs
    // (a frame's many action blocks, the frames their gotos reach, callbacks).
    void NewBudget();
    // Runs a frame's block on the timeline `timeline` (the main one when null).
    void RunBlock(const ActionBlock& block, Object* timeline = nullptr);
    Object* Root() const { return root_; }
    // The script object of a clip or video that appears on the stage.
    Object* NewClipObject(ClipControl& clip);
    // Runs the timers set with setInterval that are due after `milliseconds` more.
    void AdvanceClock(double milliseconds);
    // Calls target.handler(info) when the target has such a function; `info` becomes a
    // plain object with those members.
    using EventInfo = std::vector<std::pair<std::string, ExternalValue>>;
    void Dispatch(Object* target, const std::string& handler, const EventInfo* info = nullptr);
    bool HasHandler(Object* target, const std::string& handler);
    // Null when no callback of that name was registered.
    std::optional<ExternalValue> InvokeCallback(const std::string& name,
                                                const std::vector<ExternalValue>& arguments);
    std::vector<std::string> CallbackNames() const;

    // Dotted paths from the main timeline ("flv.volume", "_root.flv.volume"); null when undefined.
    std::optional<std::string> GetVariable(const std::string& path);
    bool SetVariable(const std::string& path, const std::string& value);

private:
    struct Context {
        ActionBlock block; // keeps the code alive while it runs, whatever the host does meanwhile
        size_t start = 0, end = 0;
        std::shared_ptr<const std::vector<std::string>> constants;
        std::vector<Value> registers;
        Object* activation = nullptr; // null on the timeline
        Object* timeline = nullptr;   // the timeline variables without a path live on
        Value self;
        size_t stackBase = 0;
        Value returned;
    };
    struct Callback {
        Object* function;
        Value self;
    };

    Value Execute(Context& context);
    bool Step(Context& context, uint8_t code, const uint8_t* payload, size_t length, size_t& next);
    Value Call(const Value& function, const Value& self, const std::vector<Value>& arguments);
    Value CallNative(Native native, const Value& self, const std::vector<Value>& arguments);
    Value CallStreamNative(Native native, Object* self, const std::vector<Value>& arguments);
    // Methods every object of a kind has without being given them (the built-in classes').
    Value BuiltInMethod(const Object& object, std::string_view name);
    Object* NativeMethod(Native native);
    Value SetIntervalFrom(const std::vector<Value>& arguments);
    Value MakeFunction(Context& context, std::string name, FunctionCode code);

    Value Pop(Context& context);
    void PushValue(Value value);
    std::vector<Value> PopArguments(Context& context);
    bool Spend(long units);
    Value MakeString(std::string text);

    Value GetVariableIn(Context& context, const std::string& name);
    void SetVariableIn(Context& context, const std::string& name, Value value);
    // Splits "a.b.c" (or "/a/b:c") into the object holding the last name and that name.
    bool ResolvePath(Context* context, const std::string& path, Object*& holder, std::string& name);
    Value LookUp(Context* context, std::string_view name);
    Value GetMember(const Value& target, std::string_view name);
    void SetMember(const Value& target, std::string_view name, Value value);
    Value ClipProperty(Object* timeline, std::string_view name);

    Value FromExternal(const ExternalValue& value);
    ExternalValue ToExternal(const Value& value);
    Object* NewArray(const std::vector<Value>& elements);
    Object* NativeFunction(Native native);
    void GotoTarget(ClipControl& clip, const Value& frame, int bias);

    struct Interval {
        Value function; // or the object whose method runs
        std::string method;
        std::vector<Value> arguments;
        double period = 0, due = 0;
    };

    PlayerControl& player_;
    uint8_t version_;
    Heap heap_;
    Object* root_ = nullptr;
    Object* global_ = nullptr;
    Object* running_ = nullptr; // the timeline of the innermost script running
    std::vector<Value> stack_;
    std::map<std::string, Callback> callbacks_;
    std::map<Native, Object*> nativeMethods_;
    std::map<uint32_t, Interval> intervals_;
    uint32_t nextInterval_ = 1;
    double clock_ = 0; // milliseconds the player's clock has advanced
    int depth_ = 0;
    long budget_ = 0;
    bool exhausted_ = false;
    uint32_t randomState_ = 0x2545F491;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

} // namespace zn::swf::avm1
