// AVM1 action codes: those the machine runs and the assembler writes. Codes of 0x80 and
// above carry a length and a payload.
#pragma once

#include <cstdint>

namespace zn::swf {

enum class Action : uint8_t {
    End = 0x00,
    NextFrame = 0x04,
    PreviousFrame = 0x05,
    Play = 0x06,
    Stop = 0x07,
    Add = 0x0A,
    Subtract = 0x0B,
    Multiply = 0x0C,
    Divide = 0x0D,
    Equals = 0x0E,
    Less = 0x0F,
    And = 0x10,
    Or = 0x11,
    Not = 0x12,
    StringEquals = 0x13,
    StringLength = 0x14,
    StringExtract = 0x15,
    Pop = 0x17,
    ToInteger = 0x18,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    StringAdd = 0x21,
    GetProperty = 0x22,
    SetProperty = 0x23,
    Trace = 0x26,
    StringLess = 0x29,
    RandomNumber = 0x30,
    GetTime = 0x34,
    Delete = 0x3A,
    Delete2 = 0x3B,
    DefineLocal = 0x3C,
    CallFunction = 0x3D,
    Return = 0x3E,
    Modulo = 0x3F,
    NewObject = 0x40,
    DefineLocal2 = 0x41,
    InitArray = 0x42,
    InitObject = 0x43,
    TypeOf = 0x44,
    Add2 = 0x47,
    Less2 = 0x48,
    Equals2 = 0x49,
    ToNumber = 0x4A,
    ToString = 0x4B,
    PushDuplicate = 0x4C,
    StackSwap = 0x4D,
    GetMember = 0x4E,
    SetMember = 0x4F,
    Increment = 0x50,
    Decrement = 0x51,
    CallMethod = 0x52,
    Enumerate2 = 0x55,
    BitAnd = 0x60,
    BitOr = 0x61,
    BitXor = 0x62,
    BitLShift = 0x63,
    BitRShift = 0x64,
    BitURShift = 0x65,
    StrictEquals = 0x66,
    Greater = 0x67,
    GotoFrame = 0x81,
    GetUrl = 0x83,
    StoreRegister = 0x87,
    ConstantPool = 0x88,
    GotoLabel = 0x8C,
    DefineFunction2 = 0x8E,
    Push = 0x96,
    Jump = 0x99,
    GetUrl2 = 0x9A,
    DefineFunction = 0x9B,
    If = 0x9D,
    GotoFrame2 = 0x9F,
};

// Push value types.
enum class PushType : uint8_t {
    String = 0,
    Float = 1,
    Null = 2,
    Undefined = 3,
    Register = 4,
    Boolean = 5,
    Double = 6,
    Integer = 7,
    Constant8 = 8,
    Constant16 = 9,
};

// DefineFunction2 flags (the little-endian 16-bit field).
namespace function_flags {
inline constexpr uint16_t PreloadThis = 0x0001;
inline constexpr uint16_t SuppressThis = 0x0002;
inline constexpr uint16_t PreloadArguments = 0x0004;
inline constexpr uint16_t SuppressArguments = 0x0008;
inline constexpr uint16_t PreloadSuper = 0x0010;
inline constexpr uint16_t SuppressSuper = 0x0020;
inline constexpr uint16_t PreloadRoot = 0x0040;
inline constexpr uint16_t PreloadParent = 0x0080;
inline constexpr uint16_t PreloadGlobal = 0x0100;
} // namespace function_flags

} // namespace zn::swf
