// Anti-aliased polygon filling by exact area coverage: each edge adds its signed area to an
// accumulation buffer, a running sum along each row gives the coverage (non-zero rule), and
// the colour is composited over the premultiplied image with that coverage.
#pragma once

#include <cstddef>
#include <vector>

#include "znswf/geometry.h"
#include "znswf/image.h"

namespace zn::swf {

struct Point {
    float x, y;
};

struct Edge {
    Point from, to;
};

// Work the renderer may still spend; every fill and edge draws from it, so a hostile movie
// costs at most this much per rendering.
struct RenderBudget {
    long edges = 1'000'000;
    long long pixels = 64'000'000;
    bool Spent() const { return edges <= 0 || pixels <= 0; }
};

class Rasteriser {
public:
    // Fills the region the edges enclose with a straight (not premultiplied) colour.
    void Fill(const std::vector<Edge>& edges, Rgba color, ImageView target, PixelRect clip,
              RenderBudget& budget);

private:
    void Accumulate(const Edge& edge, float originX, float originY, int width, int height);
    void AccumulateInside(float x0, float y0, float x1, float y1, int width, int height);

    std::vector<float> accumulation_;
    int stride_ = 0;
};

} // namespace zn::swf
