// Draws one placed shape through the rasteriser.
#include "shape_renderer.h"

#include <algorithm>
#include <cmath>

namespace zn::swf {
namespace {

constexpr float CoordinateLimit = 1e7f; // far outside any image, small enough for exact float steps
constexpr int MaximumCurveSegments = 32;

struct StyleGroup {
    const StyleTables* tables = nullptr;
    std::vector<std::vector<Edge>> fills;
    std::vector<std::vector<Edge>> strokes;

    void Reset(const StyleTables& styles)
    {
        tables = &styles;
        fills.assign(styles.fills.size() + 1, {});
        strokes.assign(styles.lines.size() + 1, {});
    }
};

Point Sane(Point p)
{
    auto limit = [](float v) {
        return std::isfinite(v) ? std::clamp(v, -CoordinateLimit, CoordinateLimit) : 0.0f;
    };
    return {limit(p.x), limit(p.y)};
}

// A closed convex polygon pushed with the same orientation as stroke rectangles.
void AddOctagon(std::vector<Edge>& out, Point centre, float radius)
{
    Point corners[8];
    for (int i = 0; i < 8; ++i) {
        double angle = -i * 3.14159265358979323846 / 4;
        corners[i] = {centre.x + radius * static_cast<float>(std::cos(angle)),
                      centre.y + radius * static_cast<float>(std::sin(angle))};
    }
    for (int i = 0; i < 8; ++i)
        out.push_back({corners[i], corners[(i + 1) % 8]});
}

// Each segment becomes a rectangle, with octagons for joins and caps when they show.
std::vector<Edge> StrokePolygons(const std::vector<Edge>& segments, float width, long allowance)
{
    std::vector<Edge> polygons;
    float half = width / 2;
    for (const Edge& segment : segments) {
        if (static_cast<long>(polygons.size()) > allowance)
            break;
        float dx = segment.to.x - segment.from.x, dy = segment.to.y - segment.from.y;
        float length = std::sqrt(dx * dx + dy * dy);
        if (length > 0) {
            float nx = -dy / length * half, ny = dx / length * half;
            Point a{segment.from.x + nx, segment.from.y + ny},
                b{segment.to.x + nx, segment.to.y + ny};
            Point c{segment.to.x - nx, segment.to.y - ny},
                d{segment.from.x - nx, segment.from.y - ny};
            polygons.insert(polygons.end(), {{a, b}, {b, c}, {c, d}, {d, a}});
        }
        if (width > 1.5f) {
            AddOctagon(polygons, segment.from, half);
            AddOctagon(polygons, segment.to, half);
        }
    }
    return polygons;
}

} // namespace

Affine Affine::Compose(const Matrix& m, const ViewTransform& view)
{
    Affine t;
    t.a = m.scaleX / 65536.0 * view.scale;
    t.b = m.rotateSkew0 / 65536.0 * view.scale;
    t.c = m.rotateSkew1 / 65536.0 * view.scale;
    t.d = m.scaleY / 65536.0 * view.scale;
    t.tx = m.translateX * view.scale + view.offsetX;
    t.ty = m.translateY * view.scale + view.offsetY;
    return t;
}

Affine Affine::Then(const Matrix& m) const
{
    double ia = m.scaleX / 65536.0, ib = m.rotateSkew0 / 65536.0, ic = m.rotateSkew1 / 65536.0,
           id = m.scaleY / 65536.0;
    Affine t;
    t.a = a * ia + c * ib;
    t.b = b * ia + d * ib;
    t.c = a * ic + c * id;
    t.d = b * ic + d * id;
    t.tx = a * m.translateX + c * m.translateY + tx;
    t.ty = b * m.translateX + d * m.translateY + ty;
    return t;
}

Point Affine::Apply(double x, double y) const
{
    return Sane({static_cast<float>(a * x + c * y + tx), static_cast<float>(b * x + d * y + ty)});
}

double Affine::Scale() const
{
    return std::sqrt(std::fabs(a * d - b * c));
}

PixelRect PlacedBounds(const TwipsRect& bounds, const Affine& transform)
{
    if (bounds.Empty())
        return {};
    Point corners[] = {
        transform.Apply(bounds.xMin, bounds.yMin), transform.Apply(bounds.xMax, bounds.yMin),
        transform.Apply(bounds.xMin, bounds.yMax), transform.Apply(bounds.xMax, bounds.yMax)};
    float min_x = corners[0].x, max_x = min_x, min_y = corners[0].y, max_y = min_y;
    for (const Point& p : corners) {
        min_x = std::min(min_x, p.x);
        max_x = std::max(max_x, p.x);
        min_y = std::min(min_y, p.y);
        max_y = std::max(max_y, p.y);
    }
    return {static_cast<int>(std::floor(min_x)) - 1, static_cast<int>(std::floor(min_y)) - 1,
            static_cast<int>(std::ceil(max_x)) + 1, static_cast<int>(std::ceil(max_y)) + 1};
}

void ShapeRenderer::Draw(const Shape& shape, const Affine& transform, const ColorTransform& colors,
                         ImageView target, PixelRect clip, RenderBudget& budget)
{
    PixelRect visible = PlacedBounds(shape.edgeBounds, transform).Intersected(clip);
    if (visible.Empty())
        return;

    StyleGroup group;
    group.Reset(shape.styles);
    auto flush = [&] {
        for (size_t i = 1; i < group.fills.size(); ++i) {
            const FillStyle& style = group.tables->fills[i - 1];
            if (style.kind != FillStyle::Kind::Bitmap)
                rasteriser_.Fill(group.fills[i], colors.Apply(style.color), target, clip, budget);
        }
        for (size_t i = 1; i < group.strokes.size(); ++i) {
            if (group.strokes[i].empty())
                continue;
            const LineStyle& style = group.tables->lines[i - 1];
            float width = std::max(1.0f, static_cast<float>(style.width * transform.Scale()));
            width = std::min(width, 2 * CoordinateLimit);
            rasteriser_.Fill(StrokePolygons(group.strokes[i], width, budget.edges),
                             colors.Apply(style.color), target, clip, budget);
        }
    };

    uint32_t fill0 = 0, fill1 = 0, line = 0;
    double x = 0, y = 0;
    auto add_edge = [&](Point from, Point to) {
        if (fill0 && fill0 < group.fills.size())
            group.fills[fill0].push_back({to, from});
        if (fill1 && fill1 < group.fills.size())
            group.fills[fill1].push_back({from, to});
        if (line && line < group.strokes.size())
            group.strokes[line].push_back({from, to});
    };
    long edge_allowance = budget.edges;
    for (const ShapeRecord& record : shape.records) {
        if (--edge_allowance <= 0)
            break;
        switch (record.kind) {
        case ShapeRecord::Kind::StyleChange:
            if (record.newStyles) {
                flush();
                group.Reset(*record.newStyles);
                fill0 = fill1 = line = 0;
            }
            if (record.hasMove) {
                x = record.moveX;
                y = record.moveY;
            }
            if (record.fill0)
                fill0 = *record.fill0;
            if (record.fill1)
                fill1 = *record.fill1;
            if (record.line)
                line = *record.line;
            break;
        case ShapeRecord::Kind::StraightEdge: {
            Point from = transform.Apply(x, y);
            x += record.anchorX;
            y += record.anchorY;
            add_edge(from, transform.Apply(x, y));
            break;
        }
        case ShapeRecord::Kind::CurvedEdge: {
            double cx = x + record.controlX, cy = y + record.controlY;
            double ex = cx + record.anchorX, ey = cy + record.anchorY;
            Point p0 = transform.Apply(x, y), p1 = transform.Apply(cx, cy),
                  p2 = transform.Apply(ex, ey);
            // Enough segments that the chords stay within 1/20 pixel of the curve (a
            // chord's distance falls with the square of the segment count).
            float deviation = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y) / 4;
            int segments = std::clamp(static_cast<int>(std::ceil(std::sqrt(deviation * 20))), 1,
                                      MaximumCurveSegments);
            edge_allowance -= segments;
            Point previous = p0;
            for (int i = 1; i <= segments; ++i) {
                float t = static_cast<float>(i) / segments, u = 1 - t;
                Point next{u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                           u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y};
                add_edge(previous, next);
                previous = next;
            }
            x = ex;
            y = ey;
            break;
        }
        }
    }
    flush();
}

} // namespace zn::swf
