// Anti-aliased polygon filling by exact area coverage.
#include "rasteriser.h"

#include <algorithm>
#include <cmath>

namespace zn::swf {
namespace {

inline uint32_t Divide255(uint32_t value) { return (value + 128 + ((value + 128) >> 8)) >> 8; }

inline uint32_t Over(uint32_t destination, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
    uint32_t inverse = 255 - alpha;
    uint32_t a = alpha + Divide255((destination >> 24) * inverse);
    uint32_t r = red + Divide255(((destination >> 16) & 0xFF) * inverse);
    uint32_t g = green + Divide255(((destination >> 8) & 0xFF) * inverse);
    uint32_t b = blue + Divide255((destination & 0xFF) * inverse);
    return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace

void Rasteriser::Accumulate(const Edge& edge, float originX, float originY, int width, int height) {
    // Pieces of the edge left of the area become vertical edges on its left side (they cover
    // whole rows of it), pieces right of it vertical edges past its right side (they cover none).
    float x0 = edge.from.x - originX, y0 = edge.from.y - originY;
    float x1 = edge.to.x - originX, y1 = edge.to.y - originY;
    float limit = static_cast<float>(width);
    float cuts[4] = {0, 0, 0, 1};
    int count = 1;
    for (float boundary : {0.0f, limit}) {
        if ((x0 < boundary) != (x1 < boundary)) cuts[count++] = (boundary - x0) / (x1 - x0);
    }
    if (count == 3 && cuts[2] < cuts[1]) std::swap(cuts[1], cuts[2]);
    cuts[count] = 1;
    for (int i = 0; i < count; ++i) {
        float t0 = cuts[i], t1 = cuts[i + 1];
        float ax = x0 + (x1 - x0) * t0, ay = y0 + (y1 - y0) * t0;
        float bx = x0 + (x1 - x0) * t1, by = y0 + (y1 - y0) * t1;
        float middle = 0.5f * (ax + bx);
        if (middle <= 0) ax = bx = 0;
        else if (middle >= limit) ax = bx = limit;
        if (i == 0) ay = y0;
        if (i == count - 1) by = y1;
        AccumulateInside(ax, ay, bx, by, width, height);
    }
}

void Rasteriser::AccumulateInside(float x0, float y0, float x1, float y1, int width, int height) {
    if (y0 == y1) return;
    float direction = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        direction = -1;
    }
    float top = std::max(y0, 0.0f), bottom = std::min(y1, static_cast<float>(height));
    if (top >= bottom) return;
    float dxdy = (x1 - x0) / (y1 - y0);
    float x = x0 + (top - y0) * dxdy;
    float limit = static_cast<float>(width);
    for (int row = static_cast<int>(top); row < height && static_cast<float>(row) < bottom; ++row) {
        float rowTop = std::max(static_cast<float>(row), top);
        float rowBottom = std::min(static_cast<float>(row + 1), bottom);
        float dy = rowBottom - rowTop;
        float xNext = x + dxdy * dy;
        float d = dy * direction;
        float left = std::clamp(std::min(x, xNext), 0.0f, limit);
        float right = std::clamp(std::max(x, xNext), 0.0f, limit);
        float* line = accumulation_.data() + static_cast<size_t>(row) * stride_;
        float leftFloor = std::floor(left);
        int leftIndex = static_cast<int>(leftFloor);
        int rightIndex = static_cast<int>(std::ceil(right));
        if (rightIndex <= leftIndex + 1) {
            // The edge stays within one pixel column on this row.
            float middle = 0.5f * (left + right) - leftFloor;
            line[leftIndex] += d - d * middle;
            line[leftIndex + 1] += d * middle;
        } else {
            float s = 1.0f / (right - left);
            float leftFraction = left - leftFloor;
            float firstArea = 0.5f * s * (1 - leftFraction) * (1 - leftFraction);
            float rightFraction = right - static_cast<float>(rightIndex) + 1;
            float lastArea = 0.5f * s * rightFraction * rightFraction;
            line[leftIndex] += d * firstArea;
            if (rightIndex == leftIndex + 2) {
                line[leftIndex + 1] += d * (1 - firstArea - lastArea);
            } else {
                float secondArea = s * (1.5f - leftFraction);
                line[leftIndex + 1] += d * (secondArea - firstArea);
                for (int column = leftIndex + 2; column < rightIndex - 1; ++column) line[column] += d * s;
                float beforeLast = secondArea + static_cast<float>(rightIndex - leftIndex - 3) * s;
                line[rightIndex - 1] += d * (1 - beforeLast - lastArea);
            }
            line[rightIndex] += d * lastArea;
        }
        x = xNext;
    }
}

void Rasteriser::Fill(const std::vector<Edge>& edges, Rgba color, ImageView target, PixelRect clip,
                      RenderBudget& budget) {
    if (edges.empty() || color.alpha == 0 || budget.Spent()) return;
    clip = clip.Intersected({0, 0, target.width, target.height});
    float minX = edges[0].from.x, maxX = minX, minY = edges[0].from.y, maxY = minY;
    for (const Edge& edge : edges) {
        for (const Point& p : {edge.from, edge.to}) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    // Edges left of the area still count: their coverage collects in the first column.
    PixelRect area{clip.left, static_cast<int>(std::clamp(std::floor(minY), -1e9f, 1e9f)),
                   static_cast<int>(std::clamp(std::ceil(maxX) + 1, -1e9f, 1e9f)),
                   static_cast<int>(std::clamp(std::ceil(maxY), -1e9f, 1e9f))};
    area.left = std::max(clip.left, static_cast<int>(std::clamp(std::floor(minX), -1e9f, 1e9f)));
    area = area.Intersected(clip);
    if (area.Empty()) return;
    int width = area.Width(), height = area.Height();
    budget.edges -= static_cast<long>(edges.size());
    budget.pixels -= static_cast<long long>(width) * height;
    if (budget.Spent()) return;

    // The buffer is all zeros between fills (the pass below clears what it reads), so only
    // growth is paid for, not a clearing of the whole area each time.
    stride_ = width + 2;
    size_t needed = static_cast<size_t>(stride_) * height;
    if (accumulation_.size() < needed) accumulation_.resize(needed, 0.0f);
    for (const Edge& edge : edges)
        Accumulate(edge, static_cast<float>(area.left), static_cast<float>(area.top), width, height);

    const uint32_t full = static_cast<uint32_t>(color.alpha) << 24 | Divide255(color.red * color.alpha) << 16 |
                          Divide255(color.green * color.alpha) << 8 | Divide255(color.blue * color.alpha);
    for (int row = 0; row < height; ++row) {
        float* line = accumulation_.data() + static_cast<size_t>(row) * stride_;
        uint32_t* pixels = target.Row(area.top + row) + area.left;
        line[width] = line[width + 1] = 0;
        float sum = 0;
        uint32_t alpha = 0;
        for (int column = 0; column < width; ++column) {
            // Inside a shape the accumulation is mostly zero: coverage changes only at edges.
            if (float delta = line[column]; delta != 0) {
                sum += delta;
                line[column] = 0;
                alpha = static_cast<uint32_t>(std::min(1.0f, std::fabs(sum)) * color.alpha + 0.5f);
            }
            if (alpha == 0) continue;
            if (alpha == 255) {
                pixels[column] = full;  // an opaque colour fully covering its pixel
                continue;
            }
            pixels[column] = Over(pixels[column], Divide255(color.red * alpha), Divide255(color.green * alpha),
                                  Divide255(color.blue * alpha), alpha);
        }
    }
}

}  // namespace zn::swf
