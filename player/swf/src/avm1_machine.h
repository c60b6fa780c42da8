// The AVM1 stack machine: runs a frame's action blocks and the functions they define, with a
// fixed budget of work per run and a bounded call depth, so that no script can hang or
// exhaust the host. It reaches the timeline and the host only through TimelineControl.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "avm1_value.h"
#include "znswf/movie.h"
#include "znswf/external_interface.h"

namespace zn::swf::avm1 {

class TimelineControl {
public:
    virtual ~TimelineControl() = default;
    virtual void GotoFrame(size_t frame) = 0; // 0-based; past the end goes to the last frame
    virtual bool GotoLabel(const std::string& label) = 0;
    virtual void SetPlaying(bool playing) = 0;
    virtual void StepFrame(int delta) = 0;   // next or previous frame, and stop
    virtual size_t CurrentFrame() const = 0; // 0-based
    virtual size_t TotalFrames() const = 0;
    virtual size_t FramesLoaded() const = 0;
    virtual void GetUrl(const std::string& url, const std::string& target) = 0;
    virtual std::string CallExternal(const std::string& name,
                                     const std::vector<ExternalValue>& arguments) = 0;
    // Work the timeline did for the script since the last call (placements applied, frames
    // searched), which the script's budget pays for: a goto can cost far more than one action.
    virtual size_t TakeWork() = 0;
    virtual double MouseX() const = 0; // in stage pixels
    virtual double MouseY() const = 0;
};

class Machine {
public:
    // Work units the scripts may spend between two calls of NewBudget (an action is one unit,
    // long strings and gotos cost more).
    static constexpr long RunBudget = 200000;
    static constexpr int MaximumCallDepth = 64;
    static constexpr size_t MaximumStack = 1 << 16;
    static constexpr size_t MaximumStringLength = 1 << 20;

    Machine(TimelineControl& timeline, uint8_t version);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Every host call into the player starts one budget, shared by all the scripts it runs
    // (a frame's many action blocks, the frames their gotos reach, callbacks).
    void NewBudget();
    void RunBlock(const ActionBlock& block);
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
    Value CallNative(Native native, const std::vector<Value>& arguments);
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
    Value TimelineProperty(std::string_view name);

    Value FromExternal(const ExternalValue& value);
    ExternalValue ToExternal(const Value& value);
    Object* NewArray(const std::vector<Value>& elements);
    Object* NativeFunction(Native native);
    void GotoTarget(const Value& frame, int bias);

    TimelineControl& timeline_;
    uint8_t version_;
    Heap heap_;
    Object* root_ = nullptr;
    Object* global_ = nullptr;
    std::vector<Value> stack_;
    std::map<std::string, Callback> callbacks_;
    int depth_ = 0;
    long budget_ = 0;
    bool exhausted_ = false;
    uint32_t randomState_ = 0x2545F491;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

} // namespace zn::swf::avm1
