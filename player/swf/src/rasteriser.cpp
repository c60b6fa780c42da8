// Anti-aliased polygon filling by exact area coverage.
#include "rasteriser.h"

#include <algorithm>
#include <cmath>

namespace zn::swf {
namespace {

inline uint32_t Divide255(uint32_t value)
{
    return (value + 128 + ((value + 128) >> 8)) >> 8;
}

inline uint32_t Over(uint32_t destination, uint32_t red, uint32_t green, uint32_t blue,
                     uint32_t alpha)
{
    uint32_t inverse = 255 - alpha;
    uint32_t a = alpha + Divide255((destination >> 24) * inverse);
    uint32_t r = red + Divide255(((destination >> 16) & 0xFF) * inverse);
    uint32_t g = green + Divide255(((destination >> 8) & 0xFF) * inverse);
    uint32_t b = blue + Divide255((destination & 0xFF) * inverse);
    return a << 24 | r << 16 | g << 8 | b;
}

} // namespace

void Rasteriser::Accumulate(const Edge& edge, float originX, float originY, int width, int height)
{
    // Pieces of the edge left of the area become vertical edges on its left side (they cover
    // whole rows of it), pieces right of it vertical edges past its right side (they cover none).
    float x0 = edge.from.x - originX, y0 = edge.from.y - originY;
    float x1 = edge.to.x - originX, y1 = edge.to.y - originY;
    float limit = static_cast<float>(width);
    float cuts[4] = {0, 0, 0, 1};
    int count = 1;
    for (float boundary : {0.0f, limit}) {
        if ((x0 < boundary) != (x1 < boundary))
            cuts[count++] = (boundary - x0) / (x1 - x0);
    }
    if (count == 3 && cuts[2] < cuts[1])
        std::swap(cuts[1], cuts[2]);
    cuts[count] = 1;
    for (int i = 0; i < count; ++i) {
        float t0 = cuts[i], t1 = cuts[i + 1];
        float ax = x0 + (x1 - x0) * t0, ay = y0 + (y1 - y0) * t0;
        float bx = x0 + (x1 - x0) * t1, by = y0 + (y1 - y0) * t1;
        float middle = 0.5f * (ax + bx);
        if (middle <= 0)
            ax = bx = 0;
        else if (middle >= limit)
            ax = bx = limit;
        if (i == 0)
            ay = y0;
        if (i == count - 1)
            by = y1;
        AccumulateInside(ax, ay, bx, by, width, height);
    }
}

void Rasteriser::AccumulateInside(float x0, float y0, float x1, float y1, int width, int height)
{
    if (y0 == y1)
        return;
    float direction = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        direction = -1;
    }
    float top = std::max(y0, 0.0f), bottom = std::min(y1, static_cast<float>(height));
    if (top >= bottom)
        return;
    float dxdy = (x1 - x0) / (y1 - y0);
    float x = x0 + (top - y0) * dxdy;
    float limit = static_cast<float>(width);
    for (int row = static_cast<int>(top); row < height && static_cast<float>(row) < bottom; ++row) {
        float row_top = std::max(static_cast<float>(row), top);
        float row_bottom = std::min(static_cast<float>(row + 1), bottom);
        float dy = row_bottom - row_top;
        float x_next = x + dxdy * dy;
        float d = dy * direction;
        float left = std::clamp(std::min(x, x_next), 0.0f, limit);
        float right = std::clamp(std::max(x, x_next), 0.0f, limit);
        float* line = accumulation_.data() + static_cast<size_t>(row) * stride_;
        float left_floor = std::floor(left);
        int left_index = static_cast<int>(left_floor);
        int right_index = static_cast<int>(std::ceil(right));
        if (right_index <= left_index + 1) {
            // The edge stays within one pixel column on this row.
            float middle = 0.5f * (left + right) - left_floor;
            line[left_index] += d - d * middle;
            line[left_index + 1] += d * middle;
        } else {
            float s = 1.0f / (right - left);
            float left_fraction = left - left_floor;
            float first_area = 0.5f * s * (1 - left_fraction) * (1 - left_fraction);
            float right_fraction = right - static_cast<float>(right_index) + 1;
            float last_area = 0.5f * s * right_fraction * right_fraction;
            line[left_index] += d * first_area;
            if (right_index == left_index + 2) {
                line[left_index + 1] += d * (1 - first_area - last_area);
            } else {
                float second_area = s * (1.5f - left_fraction);
                line[left_index + 1] += d * (second_area - first_area);
                for (int column = left_index + 2; column < right_index - 1; ++column)
                    line[column] += d * s;
                float before_last =
                    second_area + static_cast<float>(right_index - left_index - 3) * s;
                line[right_index - 1] += d * (1 - before_last - last_area);
            }
            line[right_index] += d * last_area;
        }
        x = x_next;
    }
}

void Rasteriser::Fill(const std::vector<Edge>& edges, Rgba color, ImageView target, PixelRect clip,
                      RenderBudget& budget)
{
    if (edges.empty() || color.alpha == 0 || budget.Spent())
        return;
    clip = clip.Intersected({0, 0, target.width, target.height});
    float min_x = edges[0].from.x, max_x = min_x, min_y = edges[0].from.y, max_y = min_y;
    for (const Edge& edge : edges) {
        for (const Point& p : {edge.from, edge.to}) {
            min_x = std::min(min_x, p.x);
            max_x = std::max(max_x, p.x);
            min_y = std::min(min_y, p.y);
            max_y = std::max(max_y, p.y);
        }
    }
    // Edges left of the area still count: their coverage collects in the first column.
    PixelRect area{clip.left, static_cast<int>(std::clamp(std::floor(min_y), -1e9f, 1e9f)),
                   static_cast<int>(std::clamp(std::ceil(max_x) + 1, -1e9f, 1e9f)),
                   static_cast<int>(std::clamp(std::ceil(max_y), -1e9f, 1e9f))};
    area.left = std::max(clip.left, static_cast<int>(std::clamp(std::floor(min_x), -1e9f, 1e9f)));
    area = area.Intersected(clip);
    if (area.Empty())
        return;
    int width = area.Width(), height = area.Height();
    budget.edges -= static_cast<long>(edges.size());
    budget.pixels -= static_cast<long long>(width) * height;
    if (budget.Spent())
        return;

    // The buffer is all zeros between fills (the pass below clears what it reads), so only
    // growth is paid for, not a clearing of the whole area each time.
    stride_ = width + 2;
    size_t needed = static_cast<size_t>(stride_) * height;
    if (accumulation_.size() < needed)
        accumulation_.resize(needed, 0.0f);
    for (const Edge& edge : edges)
        Accumulate(edge, static_cast<float>(area.left), static_cast<float>(area.top), width,
                   height);

    const uint32_t full =
        static_cast<uint32_t>(color.alpha) << 24 | Divide255(color.red * color.alpha) << 16 |
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
            if (alpha == 0)
                continue;
            if (alpha == 255) {
                pixels[column] = full; // an opaque colour fully covering its pixel
                continue;
            }
            pixels[column] =
                Over(pixels[column], Divide255(color.red * alpha), Divide255(color.green * alpha),
                     Divide255(color.blue * alpha), alpha);
        }
    }
}

} // namespace zn::swf
