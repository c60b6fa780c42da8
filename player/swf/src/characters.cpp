// Placed characters: shapes and buttons drawn, bounded and hit-tested alike.
#include "characters.h"

#include <algorithm>
#include <vector>

namespace zn::swf {
namespace {

std::vector<const ButtonRecord*> RecordsIn(const Button& button, uint8_t states)
{
    std::vector<const ButtonRecord*> records;
    for (const ButtonRecord& record : button.records)
        if (record.states & states)
            records.push_back(&record);
    std::stable_sort(
        records.begin(), records.end(),
        [](const ButtonRecord* a, const ButtonRecord* b) { return a->depth < b->depth; });
    return records;
}

const Shape* FindShape(const Movie& movie, uint16_t id)
{
    auto it = movie.shapes.find(id);
    return it == movie.shapes.end() ? nullptr : it->second.get();
}

const Button* FindButton(const Movie& movie, uint16_t id)
{
    auto it = movie.buttons.find(id);
    return it == movie.buttons.end() ? nullptr : it->second.get();
}

} // namespace

ColorTransform Combine(const ColorTransform& o, const ColorTransform& i)
{
    auto multiply = [](int outer, int inner) {
        return static_cast<int16_t>(std::clamp(outer * inner / 256, -32768, 32767));
    };
    auto add = [](int outerMultiply, int innerAdd, int outerAdd) {
        return static_cast<int16_t>(
            std::clamp(outerMultiply * innerAdd / 256 + outerAdd, -32768, 32767));
    };
    return {
        multiply(o.redMultiply, i.redMultiply),    multiply(o.greenMultiply, i.greenMultiply),
        multiply(o.blueMultiply, i.blueMultiply),  multiply(o.alphaMultiply, i.alphaMultiply),
        add(o.redMultiply, i.redAdd, o.redAdd),    add(o.greenMultiply, i.greenAdd, o.greenAdd),
        add(o.blueMultiply, i.blueAdd, o.blueAdd), add(o.alphaMultiply, i.alphaAdd, o.alphaAdd)};
}

void DrawCharacter(const Movie& movie, const PlacedCharacter& placed, ShapeRenderer& renderer,
                   ImageView target, PixelRect clip, RenderBudget& budget)
{
    if (const Shape* shape = FindShape(movie, placed.character)) {
        renderer.Draw(*shape, placed.transform, placed.colors, target, clip, budget);
        return;
    }
    const Button* button = FindButton(movie, placed.character);
    if (!button)
        return;
    for (const ButtonRecord* record : RecordsIn(*button, placed.buttonState)) {
        // Buttons show shapes only; a button inside a button would let a movie nest without end.
        if (const Shape* shape = FindShape(movie, record->character))
            renderer.Draw(*shape, placed.transform.Then(record->matrix),
                          Combine(placed.colors, record->colorTransform), target, clip, budget);
    }
}

PixelRect CharacterBounds(const Movie& movie, uint16_t character, const Affine& transform)
{
    if (const Shape* shape = FindShape(movie, character))
        return PlacedBounds(shape->edgeBounds, transform);
    const Button* button = FindButton(movie, character);
    if (!button)
        return {};
    PixelRect bounds;
    for (const ButtonRecord& record : button->records)
        if (const Shape* shape = FindShape(movie, record.character))
            bounds = bounds.United(PlacedBounds(shape->edgeBounds, transform.Then(record.matrix)));
    return bounds;
}

namespace {

bool ShapeCovers(const Shape& shape, Affine transform, double x, double y, ShapeRenderer& renderer)
{
    // The point's own pixel, rendered at one pixel per twip: covered more than half means inside.
    transform.tx += 0.5 - x;
    transform.ty += 0.5 - y;
    ColorTransform opaque{0, 0, 0, 0, 255, 255, 255, 255};
    uint32_t pixel = 0;
    RenderBudget budget;
    renderer.Draw(shape, transform, opaque, {&pixel, 1, 1, 1}, {0, 0, 1, 1}, budget);
    return PixelAlpha(pixel) >= 128;
}

} // namespace

bool CharacterCovers(const Movie& movie, uint16_t character, const Affine& transform, double x,
                     double y, ShapeRenderer& renderer)
{
    if (const Shape* shape = FindShape(movie, character))
        return ShapeCovers(*shape, transform, x, y, renderer);
    const Button* button = FindButton(movie, character);
    if (!button)
        return false;
    for (const ButtonRecord* record : RecordsIn(*button, ButtonRecord::HitTest))
        if (const Shape* shape = FindShape(movie, record->character))
            if (ShapeCovers(*shape, transform.Then(record->matrix), x, y, renderer))
                return true;
    return false;
}

bool ButtonHit(const Movie& movie, uint16_t character, const Matrix& placement, double x, double y,
               ShapeRenderer& renderer)
{
    return FindButton(movie, character) &&
           CharacterCovers(movie, character, Affine::Compose(placement, ViewTransform{1.0, 0, 0}),
                           x, y, renderer);
}

} // namespace zn::swf
