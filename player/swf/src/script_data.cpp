// Script data values: numbers, booleans and strings are kept; objects, arrays and dates are
// read through and dropped, nesting bounded so that a hostile file cannot exhaust the stack.
#include "script_data.h"

namespace zn::swf {
namespace {

enum Marker : uint8_t {
    NumberMarker = 0,
    BooleanMarker = 1,
    StringMarker = 2,
    ObjectMarker = 3,
    NullMarker = 5,
    UndefinedMarker = 6,
    ReferenceMarker = 7,
    AssociativeArrayMarker = 8,
    ObjectEndMarker = 9,
    StrictArrayMarker = 10,
    DateMarker = 11,
    LongStringMarker = 12,
};

constexpr int MaximumNesting = 32;

std::optional<MetadataValue> ReadValue(ByteReader& in, int depth);

// Name and value pairs up to the empty name and the end marker. A file that ends where the
// end marker should be is accepted: several encoders leave it out of the last tag.
template <typename Sink>
void ReadProperties(ByteReader& in, int depth, Sink&& sink)
{
    while (!in.Failed() && in.Remaining() > 0) {
        std::string name = in.Text(in.BigU16());
        if (name.empty() && in.Remaining() > 0 && *in.Current() == ObjectEndMarker) {
            in.U8();
            return;
        }
        std::optional<MetadataValue> value = ReadValue(in, depth + 1);
        if (value && !in.Failed())
            sink(std::move(name), std::move(*value));
    }
}

std::optional<MetadataValue> ReadValue(ByteReader& in, int depth)
{
    if (depth > MaximumNesting) {
        in.Skip(in.Remaining() + 1); // fails the reader
        return std::nullopt;
    }
    switch (in.U8()) {
    case NumberMarker: return in.BigF64();
    case BooleanMarker: return in.U8() != 0;
    case StringMarker: return in.Text(in.BigU16());
    case LongStringMarker: return in.Text(in.BigU32());
    case NullMarker:
    case UndefinedMarker: return std::nullopt;
    case ReferenceMarker: in.BigU16(); return std::nullopt;
    case DateMarker:
        in.BigF64();
        in.BigU16(); // time zone
        return std::nullopt;
    case AssociativeArrayMarker:
        in.BigU32(); // a count hint; the end marker is what ends it
        [[fallthrough]];
    case ObjectMarker:
        ReadProperties(in, depth, [](std::string, MetadataValue) {});
        return std::nullopt;
    case StrictArrayMarker: {
        uint32_t count = in.BigU32();
        for (uint32_t i = 0; i < count && !in.Failed(); ++i)
            ReadValue(in, depth + 1);
        return std::nullopt;
    }
    default:
        in.Skip(in.Remaining() + 1);
        return std::nullopt; // unknown: nothing after it is readable
    }
}

void WriteName(ByteWriter& out, const std::string& name)
{
    out.BigU16(static_cast<uint16_t>(name.size()));
    out.Text(name);
}

} // namespace

std::optional<FlvMetadata> ReadMetadataCall(ByteReader& in)
{
    if (in.U8() != StringMarker || in.Text(in.BigU16()) != "onMetaData")
        return std::nullopt;
    uint8_t marker = in.U8();
    if (marker == AssociativeArrayMarker)
        in.BigU32();
    else if (marker != ObjectMarker)
        return std::nullopt;
    FlvMetadata metadata;
    ReadProperties(in, 0, [&](std::string name, MetadataValue value) {
        metadata.entries.emplace_back(std::move(name), std::move(value));
    });
    if (in.Failed())
        return std::nullopt;
    return metadata;
}

void WriteMetadataCall(ByteWriter& out, const FlvMetadata& metadata)
{
    out.U8(StringMarker);
    WriteName(out, "onMetaData");
    out.U8(AssociativeArrayMarker);
    out.BigU32(static_cast<uint32_t>(metadata.entries.size()));
    for (const auto& [name, value] : metadata.entries) {
        WriteName(out, name);
        if (const double* number = std::get_if<double>(&value)) {
            out.U8(NumberMarker);
            out.BigF64(*number);
        } else if (const bool* flag = std::get_if<bool>(&value)) {
            out.U8(BooleanMarker);
            out.U8(*flag ? 1 : 0);
        } else {
            const std::string& text = std::get<std::string>(value);
            if (text.size() > 0xFFFF) {
                out.U8(LongStringMarker);
                out.BigU32(static_cast<uint32_t>(text.size()));
            } else {
                out.U8(StringMarker);
                out.BigU16(static_cast<uint16_t>(text.size()));
            }
            out.Text(text);
        }
    }
    out.BigU16(0);
    out.U8(ObjectEndMarker);
}

} // namespace zn::swf
