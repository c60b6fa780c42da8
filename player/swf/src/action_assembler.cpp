// A small AVM1 assembler.
#include "znswf/action_assembler.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "byte_writer.h"

namespace zn::swf {
namespace {

constexpr size_t Unbound = std::numeric_limits<size_t>::max();

void WritePushValue(ByteWriter& out, const PushValue& value)
{
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, const char*>) {
                out.U8(static_cast<uint8_t>(PushType::String));
                out.String(v);
            } else if constexpr (std::is_same_v<T, int>) {
                out.U8(static_cast<uint8_t>(PushType::Integer));
                out.U32(static_cast<uint32_t>(v));
            } else if constexpr (std::is_same_v<T, double>) {
                out.U8(static_cast<uint8_t>(PushType::Double));
                out.F64(v);
            } else if constexpr (std::is_same_v<T, bool>) {
                out.U8(static_cast<uint8_t>(PushType::Boolean));
                out.U8(v ? 1 : 0);
            } else if constexpr (std::is_same_v<T, Null>) {
                out.U8(static_cast<uint8_t>(PushType::Null));
            } else if constexpr (std::is_same_v<T, Undefined>) {
                out.U8(static_cast<uint8_t>(PushType::Undefined));
            } else if constexpr (std::is_same_v<T, Register>) {
                out.U8(static_cast<uint8_t>(PushType::Register));
                out.U8(v.number);
            } else {
                if (v.index < 256) {
                    out.U8(static_cast<uint8_t>(PushType::Constant8));
                    out.U8(static_cast<uint8_t>(v.index));
                } else {
                    out.U8(static_cast<uint8_t>(PushType::Constant16));
                    out.U16(v.index);
                }
            }
        },
        value);
}

} // namespace

void ActionAssembler::Record(Action action, const std::vector<uint8_t>& payload)
{
    code_.push_back(static_cast<uint8_t>(action));
    if (static_cast<uint8_t>(action) < 0x80)
        return;
    code_.push_back(static_cast<uint8_t>(payload.size()));
    code_.push_back(static_cast<uint8_t>(payload.size() >> 8));
    code_.insert(code_.end(), payload.begin(), payload.end());
}

ActionAssembler& ActionAssembler::Op(Action action)
{
    Record(action, {});
    return *this;
}

ActionAssembler& ActionAssembler::Push(std::initializer_list<PushValue> values)
{
    ByteWriter out;
    for (const PushValue& value : values)
        WritePushValue(out, value);
    Record(Action::Push, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::PushFloat(float value)
{
    ByteWriter out;
    out.U8(static_cast<uint8_t>(PushType::Float));
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    out.U32(bits);
    Record(Action::Push, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::GotoFrame(uint16_t frame)
{
    ByteWriter out;
    out.U16(frame);
    Record(Action::GotoFrame, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::GotoLabel(const std::string& label)
{
    ByteWriter out;
    out.String(label);
    Record(Action::GotoLabel, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::GotoFrame2(bool play)
{
    Record(Action::GotoFrame2, {static_cast<uint8_t>(play ? 1 : 0)});
    return *this;
}

ActionAssembler& ActionAssembler::GetUrl(const std::string& url, const std::string& target)
{
    ByteWriter out;
    out.String(url);
    out.String(target);
    Record(Action::GetUrl, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::GetUrl2(uint8_t flags)
{
    Record(Action::GetUrl2, {flags});
    return *this;
}

ActionAssembler& ActionAssembler::ConstantPool(const std::vector<std::string>& constants)
{
    ByteWriter out;
    out.U16(static_cast<uint16_t>(constants.size()));
    for (const std::string& constant : constants)
        out.String(constant);
    Record(Action::ConstantPool, out.Take());
    return *this;
}

ActionAssembler& ActionAssembler::StoreRegister(uint8_t reg)
{
    Record(Action::StoreRegister, {reg});
    return *this;
}

ActionAssembler& ActionAssembler::DefineFunction(const std::string& name,
                                                 const std::vector<std::string>& parameters,
                                                 const ActionAssembler& body)
{
    std::vector<uint8_t> code = body.Bytes();
    ByteWriter out;
    out.String(name);
    out.U16(static_cast<uint16_t>(parameters.size()));
    for (const std::string& parameter : parameters)
        out.String(parameter);
    out.U16(static_cast<uint16_t>(code.size()));
    Record(Action::DefineFunction, out.Take());
    code_.insert(code_.end(), code.begin(), code.end());
    return *this;
}

ActionAssembler& ActionAssembler::DefineFunction2(const std::string& name,
                                                  const std::vector<FunctionParameter>& parameters,
                                                  uint8_t registerCount, uint16_t flags,
                                                  const ActionAssembler& body)
{
    std::vector<uint8_t> code = body.Bytes();
    ByteWriter out;
    out.String(name);
    out.U16(static_cast<uint16_t>(parameters.size()));
    out.U8(registerCount);
    out.U16(flags);
    for (const FunctionParameter& parameter : parameters) {
        out.U8(parameter.reg);
        out.String(parameter.name);
    }
    out.U16(static_cast<uint16_t>(code.size()));
    Record(Action::DefineFunction2, out.Take());
    code_.insert(code_.end(), code.begin(), code.end());
    return *this;
}

ActionAssembler::Label ActionAssembler::NewLabel()
{
    labels_.push_back(Unbound);
    return labels_.size() - 1;
}

ActionAssembler& ActionAssembler::Bind(Label label)
{
    labels_.at(label) = code_.size();
    return *this;
}

ActionAssembler& ActionAssembler::Jump(Label label)
{
    Record(Action::Jump, {0, 0});
    fixups_.push_back({code_.size() - 2, code_.size(), label});
    return *this;
}

ActionAssembler& ActionAssembler::If(Label label)
{
    Record(Action::If, {0, 0});
    fixups_.push_back({code_.size() - 2, code_.size(), label});
    return *this;
}

ActionAssembler& ActionAssembler::FSCommand(const std::string& command,
                                            const std::string& arguments)
{
    return GetUrl("FSCommand:" + command, arguments);
}

ActionAssembler& ActionAssembler::PushExternalInterface()
{
    Push({"flash"}).Op(Action::GetVariable);
    Push({"external"}).Op(Action::GetMember);
    return Push({"ExternalInterface"}).Op(Action::GetMember);
}

ActionAssembler& ActionAssembler::CallExternal(const std::string& name,
                                               std::initializer_list<PushValue> arguments)
{
    // Arguments go on the stack last first, then the count, the name being the first argument.
    for (auto it = arguments.end(); it != arguments.begin();)
        Push({*--it});
    Push({name, static_cast<int>(arguments.size() + 1)});
    PushExternalInterface();
    return Push({"call"}).Op(Action::CallMethod);
}

ActionAssembler& ActionAssembler::AddCallback(const std::string& name,
                                              const std::string& functionVariable)
{
    Push({functionVariable}).Op(Action::GetVariable);
    Push({Null{}, name, 3});
    PushExternalInterface();
    return Push({"addCallback"}).Op(Action::CallMethod);
}

ActionAssembler& ActionAssembler::SetVariable(const std::string& name, const PushValue& value)
{
    return Push({name, value}).Op(Action::SetVariable);
}

ActionAssembler& ActionAssembler::Append(const ActionAssembler& code)
{
    std::vector<uint8_t> bytes = code.Bytes();
    code_.insert(code_.end(), bytes.begin(), bytes.end());
    return *this;
}

ActionAssembler& ActionAssembler::GetPath(const std::string& path)
{
    size_t dot = path.find('.');
    Push({path.substr(0, dot)}).Op(Action::GetVariable);
    while (dot != std::string::npos) {
        size_t next = path.find('.', dot + 1);
        Push({path.substr(dot + 1, next == std::string::npos ? next : next - dot - 1)});
        Op(Action::GetMember);
        dot = next;
    }
    return *this;
}

ActionAssembler& ActionAssembler::SetPath(const std::string& path, const ActionAssembler& value)
{
    size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return Push({path}).Append(value).Op(Action::SetVariable);
    GetPath(path.substr(0, dot)).Push({path.substr(dot + 1)});
    return Append(value).Op(Action::SetMember);
}

ActionAssembler& ActionAssembler::CallMethodOf(const std::string& objectPath,
                                               const std::string& method,
                                               const std::vector<ActionAssembler>& arguments)
{
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        Append(*it);
    Push({static_cast<int>(arguments.size())});
    return GetPath(objectPath).Push({method}).Op(Action::CallMethod);
}

ActionAssembler& ActionAssembler::CallFunctionNamed(const std::string& name,
                                                    const std::vector<ActionAssembler>& arguments)
{
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        Append(*it);
    return Push({static_cast<int>(arguments.size()), name}).Op(Action::CallFunction);
}

std::vector<uint8_t> ActionAssembler::Bytes() const
{
    std::vector<uint8_t> code = code_;
    for (const Fixup& fixup : fixups_) {
        size_t target = labels_.at(fixup.label);
        if (target == Unbound)
            throw std::logic_error("ActionAssembler: a branch targets an unbound label");
        int16_t offset = static_cast<int16_t>(static_cast<long long>(target) -
                                              static_cast<long long>(fixup.from));
        code[fixup.at] = static_cast<uint8_t>(offset);
        code[fixup.at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(offset) >> 8);
    }
    return code;
}

std::vector<uint8_t> ActionAssembler::Assemble() const
{
    std::vector<uint8_t> code = Bytes();
    code.push_back(static_cast<uint8_t>(Action::End));
    return code;
}

ActionAssembler Pushed(const PushValue& value)
{
    ActionAssembler block;
    block.Push({value});
    return block;
}

ActionAssembler ReadPath(const std::string& path)
{
    ActionAssembler block;
    block.GetPath(path);
    return block;
}

} // namespace zn::swf
