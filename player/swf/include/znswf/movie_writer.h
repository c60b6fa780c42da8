// Writes movies: the header, shapes, placements, frames, labels and action blocks (made with
// ActionAssembler), uncompressed (FWS) or zlib-compressed (CWS). Tests and the sample
// generator make every movie this engine plays with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "znswf/movie.h"

namespace zn::swf {

// Builds a shape from pen moves in twips, keeping the records and bounds the file needs.
class ShapeBuilder {
public:
    // Style indices returned are 1-based, as shape records use them.
    uint32_t AddFill(Rgba color);
    uint32_t AddLine(uint16_t widthTwips, Rgba color);

    // 0 clears a style. Styles apply to the edges drawn after them.
    ShapeBuilder& Styles(uint32_t fill0, uint32_t fill1, uint32_t line);
    ShapeBuilder& MoveTo(int32_t x, int32_t y);
    ShapeBuilder& LineTo(int32_t x, int32_t y);
    ShapeBuilder& CurveTo(int32_t controlX, int32_t controlY, int32_t x, int32_t y);

    // Closed outlines filled from the inside (fill1 side of a clockwise outline on screen).
    ShapeBuilder& Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint32_t fill);
    // An ellipse of eight quadratic curves.
    ShapeBuilder& Ellipse(int32_t centreX, int32_t centreY, int32_t radiusX, int32_t radiusY,
                          uint32_t fill);

    // DefineShape3 when a colour has alpha, else DefineShape (DefineShape2 past 255 styles).
    Shape Build(uint16_t id) const;

private:
    StyleTables styles_;
    std::vector<ShapeRecord> records_;
    int32_t x_ = 0, y_ = 0;
};

class MovieWriter {
public:
    // Stage in pixels; the rate in frames per second (8.8 fixed point is kept to 1/256).
    MovieWriter(int stageWidthPixels, int stageHeightPixels, double frameRate, uint8_t version = 8);

    MovieWriter& SetBackgroundColor(Rgba color);
    MovieWriter& DefineShape(const Shape& shape);
    MovieWriter& DefineButton(const Button& button); // DefineButton2
    // A sprite whose timeline is what `content` holds: its frames of placements, actions and
    // labels (a writer used for nothing else; its stage and rate are not written).
    MovieWriter& DefineSprite(uint16_t id, const MovieWriter& content);
    MovieWriter& DefineVideoStream(const VideoDefinition& video);
    MovieWriter& Place(const PlaceCommand& place); // PlaceObject or PlaceObject2 by version
    MovieWriter& PlaceObject(uint16_t character, uint16_t depth, const Matrix& matrix = {});
    MovieWriter& Remove(const RemoveCommand& remove); // RemoveObject or RemoveObject2
    MovieWriter& RemoveObject(uint16_t depth);
    MovieWriter& FrameLabel(const std::string& label);
    MovieWriter& DoAction(const std::vector<uint8_t>& actions);
    MovieWriter& ShowFrame();
    // Any tag, for movies that carry tags the engine skips.
    MovieWriter& RawTag(uint16_t code, const std::vector<uint8_t>& body);

    int FrameCount() const { return frames_; }
    // Ends the movie and returns its bytes.
    std::vector<uint8_t> Finish(bool compressed = false) const;

private:
    void Tag(uint16_t code, const std::vector<uint8_t>& body);

    MovieHeader header_;
    std::vector<uint8_t> tags_;
    int frames_ = 0;
};

// A PlaceObject2 of a new character under an instance name.
PlaceCommand NamedPlacement(uint16_t character, uint16_t depth, const std::string& name,
                            const Matrix& matrix = {});
// Writes a movie (or any bytes) to a file; false when that fails.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A matrix that scales and then translates (in twips).
Matrix TranslateMatrix(int32_t x, int32_t y);
Matrix ScaleTranslateMatrix(double scaleX, double scaleY, int32_t x, int32_t y);

} // namespace zn::swf
