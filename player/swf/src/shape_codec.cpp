// DefineShape/2/3 bodies: style tables and shape records, both directions.
#include "shape_codec.h"

#include <algorithm>
#include <limits>

#include "record_codec.h"

namespace zn::swf {
namespace {

constexpr uint8_t SolidFill = 0x00;
constexpr uint8_t LinearGradientFill = 0x10;
constexpr uint8_t RadialGradientFill = 0x12;
constexpr uint8_t FocalGradientFill = 0x13;

Rgba ReadColor(ByteReader& in, int version)
{
    return version >= 3 ? ReadRgba(in) : ReadRgb(in);
}

size_t ReadStyleCount(ByteReader& in, int version)
{
    size_t count = in.U8();
    if (count == 0xFF && version >= 2)
        count = in.U16();
    return count;
}

FillStyle ReadFillStyle(ByteReader& in, int version)
{
    FillStyle fill;
    uint8_t type = in.U8();
    if (type == SolidFill) {
        fill.color = ReadColor(in, version);
    } else if (type == LinearGradientFill || type == RadialGradientFill ||
               type == FocalGradientFill) {
        fill.kind = FillStyle::Kind::Gradient;
        ReadMatrix(in);
        unsigned count = in.U8() & 0x0F;
        for (unsigned i = 0; i < count; ++i) {
            in.U8(); // ratio
            Rgba color = ReadColor(in, version);
            if (i == 0)
                fill.color = color;
        }
        if (type == FocalGradientFill)
            in.U16();
    } else if (type >= 0x40 && type <= 0x43) {
        fill.kind = FillStyle::Kind::Bitmap;
        fill.color = Rgba{0, 0, 0, 0};
        in.U16();
        ReadMatrix(in);
    } else {
        in.Skip(in.Remaining() + 1); // an unknown fill type leaves nothing readable after it
    }
    return fill;
}

bool ReadStyleTables(ByteReader& in, int version, StyleTables& tables)
{
    size_t fills = ReadStyleCount(in, version);
    for (size_t i = 0; i < fills && !in.Failed(); ++i)
        tables.fills.push_back(ReadFillStyle(in, version));
    size_t lines = ReadStyleCount(in, version);
    for (size_t i = 0; i < lines && !in.Failed(); ++i) {
        LineStyle line;
        line.width = in.U16();
        line.color = ReadColor(in, version);
        tables.lines.push_back(line);
    }
    return !in.Failed();
}

void WriteStyleCount(ByteWriter& out, size_t count, int version)
{
    if (count >= 0xFF && version >= 2) {
        out.U8(0xFF);
        out.U16(static_cast<uint16_t>(count));
    } else {
        out.U8(static_cast<uint8_t>(count));
    }
}

void WriteColor(ByteWriter& out, Rgba color, int version)
{
    if (version >= 3)
        WriteRgba(out, color);
    else
        WriteRgb(out, color);
}

void WriteStyleTables(ByteWriter& out, const StyleTables& tables, int version)
{
    WriteStyleCount(out, tables.fills.size(), version);
    for (const FillStyle& fill : tables.fills) {
        out.U8(SolidFill); // the writer makes solid fills only
        WriteColor(out, fill.color, version);
    }
    WriteStyleCount(out, tables.lines.size(), version);
    for (const LineStyle& line : tables.lines) {
        out.U16(line.width);
        WriteColor(out, line.color, version);
    }
}

struct StyleBits {
    unsigned fill, line;
};

StyleBits BitsFor(const StyleTables& tables)
{
    return {ByteWriter::UnsignedBitsNeeded(static_cast<uint32_t>(tables.fills.size())),
            ByteWriter::UnsignedBitsNeeded(static_cast<uint32_t>(tables.lines.size()))};
}

void WriteEdge(ByteWriter& out, const ShapeRecord& record)
{
    out.Bits(1, 1);
    if (record.kind == ShapeRecord::Kind::CurvedEdge) {
        unsigned bits =
            std::max(2u, ByteWriter::SignedBitsNeeded(
                             {record.controlX, record.controlY, record.anchorX, record.anchorY}));
        out.Bits(0, 1);
        out.Bits(bits - 2, 4);
        out.SignedBits(record.controlX, bits);
        out.SignedBits(record.controlY, bits);
        out.SignedBits(record.anchorX, bits);
        out.SignedBits(record.anchorY, bits);
        return;
    }
    unsigned bits = std::max(2u, ByteWriter::SignedBitsNeeded({record.anchorX, record.anchorY}));
    out.Bits(1, 1);
    out.Bits(bits - 2, 4);
    bool general = record.anchorX != 0 && record.anchorY != 0;
    out.Bits(general, 1);
    if (general) {
        out.SignedBits(record.anchorX, bits);
        out.SignedBits(record.anchorY, bits);
    } else if (record.anchorX == 0) {
        out.Bits(1, 1);
        out.SignedBits(record.anchorY, bits);
    } else {
        out.Bits(0, 1);
        out.SignedBits(record.anchorX, bits);
    }
}

} // namespace

bool ReadShapeBody(ByteReader& in, Shape& shape)
{
    shape.bounds = ReadRect(in);
    if (!ReadStyleTables(in, shape.version, shape.styles))
        return false;
    unsigned fill_bits = in.Bits(4);
    unsigned line_bits = in.Bits(4);
    while (!in.Failed() && shape.records.size() < MaximumShapeRecords) {
        ShapeRecord record;
        if (in.Bits(1)) {
            bool straight = in.Bits(1);
            unsigned bits = in.Bits(4) + 2;
            if (straight) {
                record.kind = ShapeRecord::Kind::StraightEdge;
                if (in.Bits(1)) {
                    record.anchorX = in.SignedBits(bits);
                    record.anchorY = in.SignedBits(bits);
                } else if (in.Bits(1)) {
                    record.anchorY = in.SignedBits(bits);
                } else {
                    record.anchorX = in.SignedBits(bits);
                }
            } else {
                record.kind = ShapeRecord::Kind::CurvedEdge;
                record.controlX = in.SignedBits(bits);
                record.controlY = in.SignedBits(bits);
                record.anchorX = in.SignedBits(bits);
                record.anchorY = in.SignedBits(bits);
            }
        } else {
            unsigned flags = in.Bits(5);
            if (flags == 0)
                break; // end of shape
            record.kind = ShapeRecord::Kind::StyleChange;
            bool new_styles = flags & 0x10;
            if (flags & 0x01) {
                unsigned bits = in.Bits(5);
                record.hasMove = true;
                record.moveX = in.SignedBits(bits);
                record.moveY = in.SignedBits(bits);
            }
            if (flags & 0x02)
                record.fill0 = in.Bits(fill_bits);
            if (flags & 0x04)
                record.fill1 = in.Bits(fill_bits);
            if (flags & 0x08)
                record.line = in.Bits(line_bits);
            if (new_styles && shape.version >= 2) {
                StyleTables tables;
                if (!ReadStyleTables(in, shape.version, tables))
                    break;
                record.newStyles = std::move(tables);
                fill_bits = in.Bits(4);
                line_bits = in.Bits(4);
            }
        }
        if (in.Failed())
            break;
        shape.records.push_back(std::move(record));
    }
    shape.edgeBounds = ComputeEdgeBounds(shape);
    return true;
}

void WriteShapeBody(ByteWriter& out, const Shape& shape)
{
    WriteRect(out, shape.bounds);
    WriteStyleTables(out, shape.styles, shape.version);
    StyleBits bits = BitsFor(shape.styles);
    out.Bits(bits.fill, 4);
    out.Bits(bits.line, 4);
    for (const ShapeRecord& record : shape.records) {
        if (record.kind != ShapeRecord::Kind::StyleChange) {
            WriteEdge(out, record);
            continue;
        }
        bool new_styles = record.newStyles && shape.version >= 2;
        out.Bits(0, 1);
        out.Bits(new_styles, 1);
        out.Bits(record.line.has_value(), 1);
        out.Bits(record.fill1.has_value(), 1);
        out.Bits(record.fill0.has_value(), 1);
        out.Bits(record.hasMove, 1);
        if (record.hasMove) {
            unsigned move_bits = ByteWriter::SignedBitsNeeded({record.moveX, record.moveY});
            out.Bits(move_bits, 5);
            out.SignedBits(record.moveX, move_bits);
            out.SignedBits(record.moveY, move_bits);
        }
        if (record.fill0)
            out.Bits(*record.fill0, bits.fill);
        if (record.fill1)
            out.Bits(*record.fill1, bits.fill);
        if (record.line)
            out.Bits(*record.line, bits.line);
        if (new_styles) {
            out.Align();
            WriteStyleTables(out, *record.newStyles, shape.version);
            bits = BitsFor(*record.newStyles);
            out.Bits(bits.fill, 4);
            out.Bits(bits.line, 4);
        }
    }
    out.Bits(0, 6); // end of shape
    out.Align();
}

TwipsRect ComputeEdgeBounds(const Shape& shape)
{
    int64_t x_min = std::numeric_limits<int64_t>::max(), y_min = x_min;
    int64_t x_max = std::numeric_limits<int64_t>::min(), y_max = x_max;
    int64_t x = 0, y = 0;
    auto include = [&](int64_t px, int64_t py) {
        x_min = std::min(x_min, px);
        x_max = std::max(x_max, px);
        y_min = std::min(y_min, py);
        y_max = std::max(y_max, py);
    };
    int widest = 0;
    for (const LineStyle& line : shape.styles.lines)
        widest = std::max<int>(widest, line.width);
    for (const ShapeRecord& record : shape.records) {
        switch (record.kind) {
        case ShapeRecord::Kind::StyleChange:
            if (record.newStyles)
                for (const LineStyle& line : record.newStyles->lines)
                    widest = std::max<int>(widest, line.width);
            if (record.hasMove) {
                x = record.moveX;
                y = record.moveY;
            }
            break;
        case ShapeRecord::Kind::StraightEdge:
            include(x, y);
            x += record.anchorX;
            y += record.anchorY;
            include(x, y);
            break;
        case ShapeRecord::Kind::CurvedEdge:
            include(x, y);
            include(x + record.controlX, y + record.controlY); // the curve stays inside its hull
            x += record.controlX + record.anchorX;
            y += record.controlY + record.anchorY;
            include(x, y);
            break;
        }
    }
    if (x_min > x_max)
        return {};
    int64_t margin = widest / 2;
    auto clamp_twips = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, -(int64_t(1) << 30), int64_t(1) << 30));
    };
    return {clamp_twips(x_min - margin), clamp_twips(x_max + margin), clamp_twips(y_min - margin),
            clamp_twips(y_max + margin)};
}

} // namespace zn::swf
