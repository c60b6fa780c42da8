// Writes movies tag by tag; the header goes in front when the movie is finished.
#include "znswf/movie_writer.h"

#include <zlib.h>

#include <cmath>
#include <fstream>

#include "button_codec.h"
#include "byte_writer.h"
#include "record_codec.h"
#include "shape_codec.h"
#include "tag_codes.h"

namespace zn::swf {

uint32_t ShapeBuilder::AddFill(Rgba color)
{
    styles_.fills.push_back({FillStyle::Kind::Solid, color});
    return static_cast<uint32_t>(styles_.fills.size());
}

uint32_t ShapeBuilder::AddLine(uint16_t widthTwips, Rgba color)
{
    styles_.lines.push_back({widthTwips, color});
    return static_cast<uint32_t>(styles_.lines.size());
}

ShapeBuilder& ShapeBuilder::Styles(uint32_t fill0, uint32_t fill1, uint32_t line)
{
    ShapeRecord record;
    record.kind = ShapeRecord::Kind::StyleChange;
    record.fill0 = fill0;
    record.fill1 = fill1;
    record.line = line;
    records_.push_back(record);
    return *this;
}

ShapeBuilder& ShapeBuilder::MoveTo(int32_t x, int32_t y)
{
    if (!records_.empty() && records_.back().kind == ShapeRecord::Kind::StyleChange &&
        !records_.back().hasMove) {
        records_.back().hasMove = true;
        records_.back().moveX = x;
        records_.back().moveY = y;
    } else {
        ShapeRecord record;
        record.kind = ShapeRecord::Kind::StyleChange;
        record.hasMove = true;
        record.moveX = x;
        record.moveY = y;
        records_.push_back(record);
    }
    x_ = x;
    y_ = y;
    return *this;
}

ShapeBuilder& ShapeBuilder::LineTo(int32_t x, int32_t y)
{
    ShapeRecord record;
    record.kind = ShapeRecord::Kind::StraightEdge;
    record.anchorX = x - x_;
    record.anchorY = y - y_;
    records_.push_back(record);
    x_ = x;
    y_ = y;
    return *this;
}

ShapeBuilder& ShapeBuilder::CurveTo(int32_t controlX, int32_t controlY, int32_t x, int32_t y)
{
    ShapeRecord record;
    record.kind = ShapeRecord::Kind::CurvedEdge;
    record.controlX = controlX - x_;
    record.controlY = controlY - y_;
    record.anchorX = x - controlX;
    record.anchorY = y - controlY;
    records_.push_back(record);
    x_ = x;
    y_ = y;
    return *this;
}

ShapeBuilder& ShapeBuilder::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                      uint32_t fill)
{
    Styles(0, fill, 0).MoveTo(left, top);
    return LineTo(right, top).LineTo(right, bottom).LineTo(left, bottom).LineTo(left, top);
}

ShapeBuilder& ShapeBuilder::Ellipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t fill)
{
    // A control point at radius / cos(pi/8) keeps each 45-degree arc on the ellipse at its ends.
    constexpr double pi = 3.14159265358979323846;
    const double control_scale = 1.0 / std::cos(pi / 8);
    Styles(0, fill, 0).MoveTo(cx + rx, cy);
    for (int i = 1; i <= 8; ++i) {
        double middle = (i - 0.5) * pi / 4, end = i * pi / 4;
        CurveTo(cx + static_cast<int32_t>(std::lround(rx * control_scale * std::cos(middle))),
                cy + static_cast<int32_t>(std::lround(ry * control_scale * std::sin(middle))),
                cx + static_cast<int32_t>(std::lround(rx * std::cos(end))),
                cy + static_cast<int32_t>(std::lround(ry * std::sin(end))));
    }
    return *this;
}

Shape ShapeBuilder::Build(uint16_t id) const
{
    Shape shape;
    shape.id = id;
    shape.styles = styles_;
    shape.records = records_;
    bool alpha = false;
    for (const FillStyle& fill : styles_.fills)
        alpha |= fill.color.alpha != 255;
    for (const LineStyle& line : styles_.lines)
        alpha |= line.color.alpha != 255;
    bool many = styles_.fills.size() >= 255 || styles_.lines.size() >= 255;
    shape.version = alpha ? 3 : many ? 2 : 1;
    shape.edgeBounds = ComputeEdgeBounds(shape);
    shape.bounds = shape.edgeBounds;
    return shape;
}

MovieWriter::MovieWriter(int stageWidthPixels, int stageHeightPixels, double frameRate,
                         uint8_t version)
{
    header_.version = version;
    header_.stage = {0, stageWidthPixels * TwipsPerPixel, 0, stageHeightPixels * TwipsPerPixel};
    header_.frameRate = static_cast<uint16_t>(std::lround(frameRate * 256));
}

void MovieWriter::Tag(uint16_t code, const std::vector<uint8_t>& body)
{
    ByteWriter out;
    // Shapes and actions always take the long form, as authoring tools write them.
    bool long_form = body.size() >= 0x3F || code == tag::DefineShape || code == tag::DefineShape2 ||
                     code == tag::DefineShape3;
    out.U16(static_cast<uint16_t>(code << 6 | (long_form ? 0x3F : body.size())));
    if (long_form)
        out.U32(static_cast<uint32_t>(body.size()));
    out.Bytes(body);
    std::vector<uint8_t> bytes = out.Take();
    tags_.insert(tags_.end(), bytes.begin(), bytes.end());
}

MovieWriter& MovieWriter::SetBackgroundColor(Rgba color)
{
    ByteWriter out;
    WriteRgb(out, color);
    Tag(tag::SetBackgroundColor, out.Take());
    return *this;
}

MovieWriter& MovieWriter::DefineShape(const Shape& shape)
{
    ByteWriter out;
    out.U16(shape.id);
    WriteShapeBody(out, shape);
    Tag(shape.version == 1   ? tag::DefineShape
        : shape.version == 2 ? tag::DefineShape2
                             : tag::DefineShape3,
        out.Take());
    return *this;
}

MovieWriter& MovieWriter::DefineButton(const Button& button)
{
    ByteWriter out;
    WriteButton(out, button);
    Tag(tag::DefineButton2, out.Take());
    return *this;
}

MovieWriter& MovieWriter::DefineSprite(uint16_t id, const MovieWriter& content)
{
    ByteWriter out;
    out.U16(id);
    out.U16(static_cast<uint16_t>(content.frames_));
    out.Bytes(content.tags_);
    out.U16(tag::End << 6);
    Tag(tag::DefineSprite, out.Take());
    return *this;
}

MovieWriter& MovieWriter::DefineVideoStream(const VideoDefinition& video)
{
    ByteWriter out;
    out.U16(video.id);
    out.U16(video.frameCount);
    out.U16(video.width);
    out.U16(video.height);
    out.U8(static_cast<uint8_t>((video.deblocking & 0x07) << 1 | (video.smoothing ? 1 : 0)));
    out.U8(video.codec);
    Tag(tag::DefineVideoStream, out.Take());
    return *this;
}

MovieWriter& MovieWriter::Place(const PlaceCommand& place)
{
    ByteWriter out;
    if (place.version == 1) {
        out.U16(place.character.value_or(0));
        out.U16(place.depth);
        WriteMatrix(out, place.matrix.value_or(Matrix{}));
        if (place.colorTransform)
            WriteColorTransform(out, *place.colorTransform, false);
        Tag(tag::PlaceObject, out.Take());
        return *this;
    }
    uint8_t flags = (place.move ? 0x01 : 0) | (place.character ? 0x02 : 0) |
                    (place.matrix ? 0x04 : 0) | (place.colorTransform ? 0x08 : 0) |
                    (place.ratio ? 0x10 : 0) | (place.name ? 0x20 : 0);
    out.U8(flags);
    out.U16(place.depth);
    if (place.character)
        out.U16(*place.character);
    if (place.matrix)
        WriteMatrix(out, *place.matrix);
    if (place.colorTransform)
        WriteColorTransform(out, *place.colorTransform, true);
    if (place.ratio)
        out.U16(*place.ratio);
    if (place.name)
        out.String(*place.name);
    Tag(tag::PlaceObject2, out.Take());
    return *this;
}

MovieWriter& MovieWriter::PlaceObject(uint16_t character, uint16_t depth, const Matrix& matrix)
{
    PlaceCommand place;
    place.character = character;
    place.depth = depth;
    place.matrix = matrix;
    return Place(place);
}

MovieWriter& MovieWriter::Remove(const RemoveCommand& remove)
{
    ByteWriter out;
    if (remove.version == 1)
        out.U16(remove.character);
    out.U16(remove.depth);
    Tag(remove.version == 1 ? tag::RemoveObject : tag::RemoveObject2, out.Take());
    return *this;
}

MovieWriter& MovieWriter::RemoveObject(uint16_t depth)
{
    return Remove({2, depth, 0});
}

MovieWriter& MovieWriter::FrameLabel(const std::string& label)
{
    ByteWriter out;
    out.String(label);
    Tag(tag::FrameLabel, out.Take());
    return *this;
}

MovieWriter& MovieWriter::DoAction(const std::vector<uint8_t>& actions)
{
    Tag(tag::DoAction, actions);
    return *this;
}

MovieWriter& MovieWriter::ShowFrame()
{
    Tag(tag::ShowFrame, {});
    ++frames_;
    return *this;
}

MovieWriter& MovieWriter::RawTag(uint16_t code, const std::vector<uint8_t>& body)
{
    Tag(code, body);
    return *this;
}

std::vector<uint8_t> MovieWriter::Finish(bool compressed) const
{
    ByteWriter body;
    WriteRect(body, header_.stage);
    body.U16(header_.frameRate);
    body.U16(static_cast<uint16_t>(frames_));
    body.Bytes(tags_);
    body.U16(tag::End << 6);
    std::vector<uint8_t> uncompressed = body.Take();

    ByteWriter out;
    out.U8(compressed ? 'C' : 'F');
    out.U8('W');
    out.U8('S');
    out.U8(header_.version);
    out.U32(static_cast<uint32_t>(uncompressed.size() + 8));
    if (!compressed) {
        out.Bytes(uncompressed);
        return out.Take();
    }
    uLongf size = compressBound(static_cast<uLong>(uncompressed.size()));
    std::vector<uint8_t> packed(size);
    compress2(packed.data(), &size, uncompressed.data(), static_cast<uLong>(uncompressed.size()),
              Z_BEST_COMPRESSION);
    packed.resize(size);
    out.Bytes(packed);
    return out.Take();
}

PlaceCommand NamedPlacement(uint16_t character, uint16_t depth, const std::string& name,
                            const Matrix& matrix)
{
    PlaceCommand place;
    place.character = character;
    place.depth = depth;
    place.matrix = matrix;
    place.name = name;
    return place;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Matrix TranslateMatrix(int32_t x, int32_t y)
{
    Matrix matrix;
    matrix.translateX = x;
    matrix.translateY = y;
    return matrix;
}

Matrix ScaleTranslateMatrix(double scaleX, double scaleY, int32_t x, int32_t y)
{
    Matrix matrix = TranslateMatrix(x, y);
    matrix.scaleX = static_cast<int32_t>(std::lround(scaleX * 65536));
    matrix.scaleY = static_cast<int32_t>(std::lround(scaleY * 65536));
    return matrix;
}

} // namespace zn::swf
