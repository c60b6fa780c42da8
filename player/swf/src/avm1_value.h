// AVM1 values and objects, and the conversions between value types the actions rely on.
// Objects live in a heap owned by the machine and die with it (or with the next movie), so
// cycles cost nothing and a value can hold a plain pointer.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "znswf/movie.h"

namespace zn::swf::avm1 {

class Object;
using SharedString = std::shared_ptr<const std::string>;

struct Value {
    enum class Type : uint8_t { Undefined, Null, Boolean, Number, String, Object };
    Type type = Type::Undefined;
    bool boolean = false;
    double number = 0;
    SharedString string;
    Object* object = nullptr;

    static Value Null()
    {
        Value v;
        v.type = Type::Null;
        return v;
    }
    static Value Boolean(bool b)
    {
        Value v;
        v.type = Type::Boolean;
        v.boolean = b;
        return v;
    }
    static Value Number(double n)
    {
        Value v;
        v.type = Type::Number;
        v.number = n;
        return v;
    }
    static Value String(std::string s);
    static Value String(SharedString s)
    {
        Value v;
        v.type = Type::String;
        v.string = std::move(s);
        return v;
    }
    static Value Of(Object* o)
    {
        Value v;
        v.type = o ? Type::Object : Type::Undefined;
        v.object = o;
        return v;
    }
    bool IsUndefined() const { return type == Type::Undefined; }
};

enum class Native : uint8_t {
    None,
    ExternalCall,
    ExternalAddCallback,
    Play,
    Stop,
    GotoAndPlay,
    GotoAndStop,
    NextFrame,
    PreviousFrame,
    CreateEmptyMovieClip,
    LoadMovie,
    AttachVideo,
    AddProperty,
    SetInterval,
    ClearInterval,
    NewNetConnection,
    Connect,
    NewNetStream,
    StreamPlay,
    StreamPause,
    StreamSeek,
    StreamClose,
    NewSound,
    SetVolume,
    GetVolume,
};

// The built-in classes whose objects carry state of the player's own.
enum class NativeClass : uint8_t { None, NetConnection, NetStream, Sound };

class Object;

// What scripts reach of a movie clip or video on the stage; the player implements it. A clip
// that leaves the stage detaches itself from its object, which scripts may still hold.
class ClipControl {
public:
    virtual ~ClipControl() = default;
    virtual bool IsVideo() const = 0;
    // _x, _alpha, _currentframe and the other properties; undefined for other names.
    virtual Value Property(std::string_view name) const = 0;
    // False when the name is not a property (it is then an ordinary member).
    virtual bool SetProperty(std::string_view name, const Value& value) = 0;
    virtual Object* Child(std::string_view name) const = 0;
    virtual Object* Parent() const = 0;
    virtual std::string TargetPath() const = 0;

    virtual void GotoFrame(size_t frame) = 0; // 0-based; past the end goes to the last frame
    virtual bool GotoLabel(const std::string& label) = 0;
    virtual void SetPlaying(bool playing) = 0;
    virtual void StepFrame(int delta) = 0; // next or previous frame, and stop
    virtual size_t CurrentFrame() const = 0;
    virtual size_t TotalFrames() const = 0;

    virtual Object* CreateEmptyClip(const std::string& name, int depth) = 0;
    virtual void LoadMovie(const std::string& url) = 0;
    virtual void AttachVideo(Object* stream) = 0; // null detaches
};

struct FunctionParameterSlot {
    std::string name;
    uint8_t reg = 0;
};

struct FunctionCode {
    ActionBlock block;
    size_t start = 0, end = 0;
    std::vector<FunctionParameterSlot> parameters;
    bool isFunction2 = false;
    uint8_t registerCount = 0;
    uint16_t flags = 0;
    std::shared_ptr<const std::vector<std::string>> constants;
    Object* scope = nullptr;    // the activation the function was defined in, null on a timeline
    Object* timeline = nullptr; // the timeline it was defined on
};

class Heap;

class Object {
public:
    enum class Kind : uint8_t { Plain, Array, Function, Timeline, Activation };

    Object(Heap& heap, Kind kind) : heap_(heap), kind_(kind) {}
    Kind GetKind() const { return kind_; }
    bool IsCallable() const { return kind_ == Kind::Function; }

    const Value* Find(std::string_view name) const;
    // False when the heap's member budget is spent and the member is new.
    bool Set(std::string_view name, Value value);
    bool Remove(std::string_view name);
    const std::map<std::string, Value, std::less<>>& Members() const { return members_; }

    // Object.addProperty: a member read and written through these functions.
    struct Accessor {
        Object* getter = nullptr;
        Object* setter = nullptr;
    };
    const Accessor* FindAccessor(std::string_view name) const;
    void SetAccessor(std::string_view name, Accessor accessor);

    std::optional<FunctionCode> code;
    Native native = Native::None;
    Object* scopeParent = nullptr; // activations: the enclosing activation
    ClipControl* clip = nullptr;   // timelines and videos while they are on the stage
    NativeClass nativeClass = NativeClass::None;
    uint32_t handle = 0; // the player's own state of a NetStream
private:
    Heap& heap_;
    Kind kind_;
    std::map<std::string, Value, std::less<>> members_;
    std::map<std::string, Accessor, std::less<>> accessors_;
};

// Owns every object of one movie's scripts, within fixed budgets.
class Heap {
public:
    static constexpr size_t MaximumObjects = 1 << 16;
    static constexpr size_t MaximumMembers = 1 << 20;

    // Null when the object budget is spent.
    Object* New(Object::Kind kind);
    bool TakeMember() { return members_ < MaximumMembers ? (++members_, true) : false; }
    void ReturnMember() { --members_; }

private:
    std::vector<std::unique_ptr<Object>> objects_;
    size_t members_ = 0;
};

// The conversions of the movie's language, for movies of the given file version.
double ToNumber(const Value& value, uint8_t version);
bool ToBoolean(const Value& value, uint8_t version);
std::string ToString(const Value& value, uint8_t version);
int32_t ToInt32(double number);
bool LooseEquals(const Value& a, const Value& b, uint8_t version);
bool StrictlyEquals(const Value& a, const Value& b);
std::string TypeName(const Value& value);

} // namespace zn::swf::avm1
