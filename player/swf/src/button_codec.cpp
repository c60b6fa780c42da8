// DefineButton2 bodies, both directions.
#include "button_codec.h"

#include "record_codec.h"

namespace zn::swf {
namespace {

constexpr uint8_t FilterListOrBlendMode = 0x30;
constexpr size_t ActionOffsetField = 3; // after the id and the flags

} // namespace

bool ReadButton(ByteReader& in, Button& button)
{
    button.id = in.U16();
    button.trackAsMenu = in.U8() & 0x01;
    size_t action_offset = in.U16();
    for (;;) {
        uint8_t flags = in.U8();
        if (in.Failed())
            return false;
        if (flags == 0)
            break;
        if (flags & FilterListOrBlendMode)
            return false;
        ButtonRecord record;
        record.states = flags & 0x0F;
        record.character = in.U16();
        record.depth = in.U16();
        record.matrix = ReadMatrix(in);
        record.colorTransform = ReadColorTransform(in, true);
        if (in.Failed())
            return false;
        button.records.push_back(record);
    }
    if (action_offset == 0)
        return true;
    size_t position = ActionOffsetField + action_offset;
    if (position < in.Position())
        return false;
    in.Skip(position - in.Position());
    for (;;) {
        size_t start = in.Position();
        size_t size = in.U16();
        ButtonAction action;
        action.conditions = in.U16();
        if (in.Failed())
            return false;
        size_t length =
            size == 0 ? in.Remaining() + 4 : size; // the last runs to the end of the tag
        if (length < 4 || length - 4 > in.Remaining())
            return false;
        const uint8_t* code = in.Current();
        action.actions = std::make_shared<const std::vector<uint8_t>>(code, code + (length - 4));
        in.Skip(length - 4);
        button.actions.push_back(std::move(action));
        if (size == 0 || in.Position() == start)
            break;
    }
    return !in.Failed();
}

void WriteButton(ByteWriter& out, const Button& button)
{
    ByteWriter records;
    for (const ButtonRecord& record : button.records) {
        records.U8(record.states & 0x0F);
        records.U16(record.character);
        records.U16(record.depth);
        WriteMatrix(records, record.matrix);
        WriteColorTransform(records, record.colorTransform, true);
    }
    records.U8(0);
    std::vector<uint8_t> record_bytes = records.Take();

    out.U16(button.id);
    out.U8(button.trackAsMenu ? 1 : 0);
    // The offset counts from this field to the first action record.
    out.U16(button.actions.empty() ? 0 : static_cast<uint16_t>(2 + record_bytes.size()));
    out.Bytes(record_bytes);
    for (size_t i = 0; i < button.actions.size(); ++i) {
        const ButtonAction& action = button.actions[i];
        size_t length = action.actions ? action.actions->size() : 0;
        bool last = i + 1 == button.actions.size();
        out.U16(last ? 0 : static_cast<uint16_t>(4 + length));
        out.U16(action.conditions);
        if (action.actions)
            out.Bytes(*action.actions);
    }
}

} // namespace zn::swf
