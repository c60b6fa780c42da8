// Placed characters of the display list, whatever their kind: shapes are drawn as they are,
// buttons through the records of their current state. Bounds, drawing and hit testing in
// one place, so that repainting and input agree with what is drawn.
#pragma once

#include <cstdint>

#include "shape_renderer.h"
#include "znswf/movie.h"

namespace zn::swf {

struct PlacedCharacter {
    uint16_t character = 0;
    Affine transform; // from the character's twips to target pixels
    ColorTransform colors;
    uint8_t buttonState = ButtonRecord::Up;
};

void DrawCharacter(const Movie& movie, const PlacedCharacter& placed, ShapeRenderer& renderer,
                   ImageView target, PixelRect clip, RenderBudget& budget);
// Everything the character can show, in any state.
PixelRect CharacterBounds(const Movie& movie, uint16_t character, const Affine& transform);
// Whether a shape, or a button's hit area, placed by `transform` (to stage twips) covers the
// stage point (twips).
bool CharacterCovers(const Movie& movie, uint16_t character, const Affine& transform, double x,
                     double y, ShapeRenderer& renderer);
// Whether a stage point (twips) falls on the button's hit area; false for anything but a button.
bool ButtonHit(const Movie& movie, uint16_t character, const Matrix& placement, double x, double y,
               ShapeRenderer& renderer);

// `outer` applied after `inner`.
ColorTransform Combine(const ColorTransform& outer, const ColorTransform& inner);

} // namespace zn::swf
