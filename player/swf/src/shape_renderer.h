// Draws one placed shape: walks its records, flattens curves, turns strokes into polygons,
// and fills each style's region through the rasteriser, fills before strokes, style group
// by style group.
#pragma once

#include "rasteriser.h"
#include "znswf/movie.h"

namespace zn::swf {

// From twips to target pixels: scale, then offset.
struct ViewTransform {
    double scale = 1.0 / TwipsPerPixel;
    double offsetX = 0, offsetY = 0;
};

// A placement matrix composed with the view, as doubles.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0; // x' = a x + c y + tx, y' = b x + d y + ty
    static Affine Compose(const Matrix& placement, const ViewTransform& view);
    Affine Then(const Matrix& inner) const; // this transform applied after `inner`
    Point Apply(double x, double y) const;
    double Scale() const; // how much lengths grow, for stroke widths
};

class ShapeRenderer {
public:
    void Draw(const Shape& shape, const Affine& transform, const ColorTransform& colors,
              ImageView target, PixelRect clip, RenderBudget& budget);

private:
    Rasteriser rasteriser_;
};

// The pixels a rectangle in twips covers once placed and viewed, widened by a pixel for
// anti-aliasing; empty for an empty rectangle.
PixelRect PlacedBounds(const TwipsRect& bounds, const Affine& transform);

} // namespace zn::swf
