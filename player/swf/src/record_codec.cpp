// The small records tags share: RECT, MATRIX, CXFORM, RGB and RGBA, both directions.
#include "record_codec.h"

#include <algorithm>

namespace zn::swf {

TwipsRect ReadRect(ByteReader& in)
{
    unsigned bits = in.Bits(5);
    TwipsRect rect;
    rect.xMin = in.SignedBits(bits);
    rect.xMax = in.SignedBits(bits);
    rect.yMin = in.SignedBits(bits);
    rect.yMax = in.SignedBits(bits);
    in.Align();
    return rect;
}

Matrix ReadMatrix(ByteReader& in)
{
    Matrix matrix;
    auto pair = [&](int32_t& first, int32_t& second) {
        unsigned bits = in.Bits(5);
        first = in.SignedBits(bits);
        second = in.SignedBits(bits);
    };
    if (in.Bits(1))
        pair(matrix.scaleX, matrix.scaleY);
    if (in.Bits(1))
        pair(matrix.rotateSkew0, matrix.rotateSkew1);
    pair(matrix.translateX, matrix.translateY);
    in.Align();
    return matrix;
}

ColorTransform ReadColorTransform(ByteReader& in, bool withAlpha)
{
    ColorTransform transform;
    bool has_add = in.Bits(1);
    bool has_multiply = in.Bits(1);
    unsigned bits = in.Bits(4);
    auto term = [&] { return static_cast<int16_t>(in.SignedBits(bits)); };
    if (has_multiply) {
        transform.redMultiply = term();
        transform.greenMultiply = term();
        transform.blueMultiply = term();
        if (withAlpha)
            transform.alphaMultiply = term();
    }
    if (has_add) {
        transform.redAdd = term();
        transform.greenAdd = term();
        transform.blueAdd = term();
        if (withAlpha)
            transform.alphaAdd = term();
    }
    in.Align();
    return transform;
}

Rgba ReadRgb(ByteReader& in)
{
    Rgba color;
    color.red = in.U8();
    color.green = in.U8();
    color.blue = in.U8();
    return color;
}

Rgba ReadRgba(ByteReader& in)
{
    Rgba color = ReadRgb(in);
    color.alpha = in.U8();
    return color;
}

void WriteRect(ByteWriter& out, const TwipsRect& rect)
{
    unsigned bits = ByteWriter::SignedBitsNeeded({rect.xMin, rect.xMax, rect.yMin, rect.yMax});
    out.Bits(bits, 5);
    out.SignedBits(rect.xMin, bits);
    out.SignedBits(rect.xMax, bits);
    out.SignedBits(rect.yMin, bits);
    out.SignedBits(rect.yMax, bits);
    out.Align();
}

void WriteMatrix(ByteWriter& out, const Matrix& matrix)
{
    // Scale and rotation are each a flag, a bit count and a pair; the translation has no flag.
    auto pair = [&](int32_t first, int32_t second) {
        unsigned bits = std::min(31u, ByteWriter::SignedBitsNeeded({first, second}));
        out.Bits(bits, 5);
        out.SignedBits(first, bits);
        out.SignedBits(second, bits);
    };
    bool has_scale = matrix.scaleX != 65536 || matrix.scaleY != 65536;
    out.Bits(has_scale, 1);
    if (has_scale)
        pair(matrix.scaleX, matrix.scaleY);
    bool has_rotate = matrix.rotateSkew0 != 0 || matrix.rotateSkew1 != 0;
    out.Bits(has_rotate, 1);
    if (has_rotate)
        pair(matrix.rotateSkew0, matrix.rotateSkew1);
    if (matrix.translateX != 0 || matrix.translateY != 0)
        pair(matrix.translateX, matrix.translateY);
    else
        out.Bits(0, 5);
    out.Align();
}

void WriteColorTransform(ByteWriter& out, const ColorTransform& t, bool withAlpha)
{
    bool has_multiply = t.redMultiply != 256 || t.greenMultiply != 256 || t.blueMultiply != 256 ||
                        (withAlpha && t.alphaMultiply != 256);
    bool has_add =
        t.redAdd != 0 || t.greenAdd != 0 || t.blueAdd != 0 || (withAlpha && t.alphaAdd != 0);
    unsigned bits = 1;
    if (has_multiply)
        bits = std::max(
            bits, ByteWriter::SignedBitsNeeded({t.redMultiply, t.greenMultiply, t.blueMultiply,
                                                withAlpha ? t.alphaMultiply : int16_t(0)}));
    if (has_add)
        bits = std::max(bits, ByteWriter::SignedBitsNeeded({t.redAdd, t.greenAdd, t.blueAdd,
                                                            withAlpha ? t.alphaAdd : int16_t(0)}));
    bits = std::min(bits, 15u); // the field holds the bit count in four bits
    out.Bits(has_add, 1);
    out.Bits(has_multiply, 1);
    out.Bits(bits, 4);
    auto terms = [&](int16_t r, int16_t g, int16_t b, int16_t a) {
        out.SignedBits(r, bits);
        out.SignedBits(g, bits);
        out.SignedBits(b, bits);
        if (withAlpha)
            out.SignedBits(a, bits);
    };
    if (has_multiply)
        terms(t.redMultiply, t.greenMultiply, t.blueMultiply, t.alphaMultiply);
    if (has_add)
        terms(t.redAdd, t.greenAdd, t.blueAdd, t.alphaAdd);
    out.Align();
}

void WriteRgb(ByteWriter& out, Rgba color)
{
    out.U8(color.red);
    out.U8(color.green);
    out.U8(color.blue);
}

void WriteRgba(ByteWriter& out, Rgba color)
{
    WriteRgb(out, color);
    out.U8(color.alpha);
}

} // namespace zn::swf
