// A movie as the reader finds it and the writer writes it: the header, the dictionary of
// shapes, and per frame the display-list commands, action blocks and label.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "znswf/geometry.h"

namespace zn::swf {

// Only solid fills are drawn. Gradients are shown in their first colour; bitmap fills,
// whose pixels this engine does not decode, draw nothing.
struct FillStyle {
    enum class Kind : uint8_t { Solid, Gradient, Bitmap };
    Kind kind = Kind::Solid;
    Rgba color;
    friend bool operator==(const FillStyle&, const FillStyle&) = default;
};

struct LineStyle {
    uint16_t width = 20; // twips; 0 is a hairline, drawn one pixel wide
    Rgba color;
    friend bool operator==(const LineStyle&, const LineStyle&) = default;
};

struct StyleTables {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    friend bool operator==(const StyleTables&, const StyleTables&) = default;
};

// One shape record. Style indices are 1-based into the current tables; 0 means "none".
struct ShapeRecord {
    enum class Kind : uint8_t { StyleChange, StraightEdge, CurvedEdge };
    Kind kind = Kind::StraightEdge;
    // StyleChange
    bool hasMove = false;
    int32_t moveX = 0, moveY = 0; // absolute, in shape twips
    std::optional<uint32_t> fill0, fill1, line;
    std::optional<StyleTables> newStyles;
    // StraightEdge uses the anchor delta; CurvedEdge both.
    int32_t controlX = 0, controlY = 0, anchorX = 0, anchorY = 0;
    friend bool operator==(const ShapeRecord&, const ShapeRecord&) = default;
};

struct Shape {
    uint16_t id = 0;
    int version = 1;  // 1, 2 or 3 for DefineShape, DefineShape2, DefineShape3
    TwipsRect bounds; // as declared in the file
    StyleTables styles;
    std::vector<ShapeRecord> records;
    // Computed from the edges themselves (with the widest stroke), because declared
    // bounds may lie and repainting relies on this.
    TwipsRect edgeBounds;
};

// One character a button shows in some of its states, placed inside the button.
struct ButtonRecord {
    static constexpr uint8_t Up = 0x01, Over = 0x02, Down = 0x04, HitTest = 0x08;
    uint8_t states = 0;
    uint16_t character = 0;
    uint16_t depth = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    friend bool operator==(const ButtonRecord&, const ButtonRecord&) = default;
};

using ActionBlock = std::shared_ptr<const std::vector<uint8_t>>;

// Actions a button runs on the mouse transitions named in `conditions`.
struct ButtonAction {
    static constexpr uint16_t RollOver = 0x0001, RollOut = 0x0002, Press = 0x0004, Release = 0x0008,
                              DragOut = 0x0010, DragOver = 0x0020, ReleaseOutside = 0x0040;
    uint16_t conditions = 0;
    ActionBlock actions;
    friend bool operator==(const ButtonAction& a, const ButtonAction& b)
    {
        return a.conditions == b.conditions &&
               (a.actions == b.actions || (a.actions && b.actions && *a.actions == *b.actions));
    }
};

// DefineButton2.
struct Button {
    uint16_t id = 0;
    bool trackAsMenu = false;
    std::vector<ButtonRecord> records;
    std::vector<ButtonAction> actions;
};

struct PlaceCommand {
    int version = 2; // 1 for PlaceObject, 2 for PlaceObject2
    uint16_t depth = 0;
    bool move = false;
    std::optional<uint16_t> character;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    friend bool operator==(const PlaceCommand&, const PlaceCommand&) = default;
};

struct RemoveCommand {
    int version = 2; // 1 for RemoveObject (which names the character), 2 for RemoveObject2
    uint16_t depth = 0;
    uint16_t character = 0;
    friend bool operator==(const RemoveCommand&, const RemoveCommand&) = default;
};

using DisplayCommand = std::variant<PlaceCommand, RemoveCommand>;

struct Frame {
    std::vector<DisplayCommand> commands;
    std::vector<ActionBlock> actions;
    std::string label;
};

// DefineSprite: a character with a timeline of its own.
struct Sprite {
    uint16_t id = 0;
    std::vector<Frame> frames;
};

// DefineVideoStream: a place for video frames that scripts attach a stream to.
struct VideoDefinition {
    uint16_t id = 0;
    uint16_t frameCount = 0;
    uint16_t width = 0, height = 0; // pixels
    uint8_t deblocking = 0;
    bool smoothing = false;
    uint8_t codec = 0;
    friend bool operator==(const VideoDefinition&, const VideoDefinition&) = default;
};

struct MovieHeader {
    uint8_t version = 8;
    bool compressed = false;
    uint32_t declaredLength = 0;
    TwipsRect stage;
    uint16_t frameRate = 12 << 8; // 8.8 fixed point frames per second
    uint16_t declaredFrameCount = 0;
};

struct Movie {
    MovieHeader header;
    std::optional<Rgba> background; // the first SetBackgroundColor; later ones are ignored
    std::map<uint16_t, std::shared_ptr<const Shape>> shapes;
    std::map<uint16_t, std::shared_ptr<const Button>> buttons;
    std::map<uint16_t, std::shared_ptr<const Sprite>> sprites;
    std::map<uint16_t, VideoDefinition> videos;
    std::vector<Frame> frames;
    std::vector<uint16_t> skippedTags; // codes of tags read past unparsed, in order, once each
    bool complete = false;
};

} // namespace zn::swf
