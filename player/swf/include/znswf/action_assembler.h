// A small AVM1 assembler: actions appended in order, branch targets as labels resolved when
// the block is assembled, function bodies as nested assemblers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "znswf/actions.h"

namespace zn::swf {

struct Null {};
struct Undefined {};
struct Register {
    uint8_t number;
};
struct Constant {
    uint16_t index;
};
// One pushed value; an int pushes an Integer, a double a Double.
using PushValue =
    std::variant<std::string, const char*, int, double, bool, Null, Undefined, Register, Constant>;

struct FunctionParameter {
    std::string name;
    uint8_t reg = 0; // DefineFunction2 only; 0 keeps the parameter as a named local
};

class ActionAssembler {
public:
    using Label = size_t;

    // Any action without a payload.
    ActionAssembler& Op(Action action);
    ActionAssembler& Push(std::initializer_list<PushValue> values);
    ActionAssembler& PushFloat(float value);
    ActionAssembler& GotoFrame(uint16_t frame); // 0-based
    ActionAssembler& GotoLabel(const std::string& label);
    ActionAssembler& GotoFrame2(bool play);
    ActionAssembler& GetUrl(const std::string& url, const std::string& target);
    ActionAssembler& GetUrl2(uint8_t flags = 0);
    ActionAssembler& ConstantPool(const std::vector<std::string>& constants);
    ActionAssembler& StoreRegister(uint8_t reg);
    ActionAssembler& DefineFunction(const std::string& name,
                                    const std::vector<std::string>& parameters,
                                    const ActionAssembler& body);
    ActionAssembler& DefineFunction2(const std::string& name,
                                     const std::vector<FunctionParameter>& parameters,
                                     uint8_t registerCount, uint16_t flags,
                                     const ActionAssembler& body);

    Label NewLabel();
    ActionAssembler& Bind(Label label);
    ActionAssembler& Jump(Label label);
    ActionAssembler& If(Label label);

    // Common sequences.
    ActionAssembler& Stop() { return Op(Action::Stop); }
    ActionAssembler& Play() { return Op(Action::Play); }
    ActionAssembler& FSCommand(const std::string& command, const std::string& arguments);
    // Leaves flash.external.ExternalInterface on the stack.
    ActionAssembler& PushExternalInterface();
    // ExternalInterface.call(name, arguments...); leaves the result on the stack.
    ActionAssembler& CallExternal(const std::string& name,
                                  std::initializer_list<PushValue> arguments);
    // ExternalInterface.addCallback(name, null, <the function in variable functionVariable>); leaves the result.
    ActionAssembler& AddCallback(const std::string& name, const std::string& functionVariable);
    // name = value on the current timeline.
    ActionAssembler& SetVariable(const std::string& name, const PushValue& value);

    // Conveniences for dotted paths: "a.b.c" is the variable a, then its members b and c.
    // Appends another block's actions (its branches are relative, so it runs anywhere).
    ActionAssembler& Append(const ActionAssembler& code);
    // Leaves the value at the path on the stack.
    ActionAssembler& GetPath(const std::string& path);
    // path = what `value` leaves on the stack.
    ActionAssembler& SetPath(const std::string& path, const ActionAssembler& value);
    // object.method(arguments...), each argument what its block leaves; leaves the result.
    ActionAssembler& CallMethodOf(const std::string& objectPath, const std::string& method,
                                  const std::vector<ActionAssembler>& arguments = {});
    // name(arguments...) for a function in a variable; leaves the result.
    ActionAssembler& CallFunctionNamed(const std::string& name,
                                       const std::vector<ActionAssembler>& arguments = {});

    // The actions with no End; a function body or a block to embed.
    std::vector<uint8_t> Bytes() const;
    // The actions followed by End: the body of a DoAction tag.
    std::vector<uint8_t> Assemble() const;

private:
    struct Fixup {
        size_t at;   // where the 16-bit offset goes
        size_t from; // the offset is relative to this position (the end of the branch action)
        Label label;
    };
    void Record(Action action, const std::vector<uint8_t>& payload);

    std::vector<uint8_t> code_;
    std::vector<size_t> labels_; // position of each label, or npos while unbound
    std::vector<Fixup> fixups_;
};

// Blocks that leave one value on the stack, to pass as the arguments of the conveniences.
ActionAssembler Pushed(const PushValue& value);
ActionAssembler ReadPath(const std::string& path);

} // namespace zn::swf
