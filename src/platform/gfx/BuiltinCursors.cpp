// The program's pointer art: the grid's panning cursors (8000 neutral, 8001 to 8008 by
// direction), its header-selection cursors (8010 row, 8011 column, 8012 all), the cell
// selector (8014), the tree's splitters ("LT_HEADERSPLIT", "LT_VERTSPLIT"), and the panning anchor pictures "INTLI1" (both directions), "INTLI2"
// (horizontal) and "INTLI3" (vertical). Our own drawings: black shapes with a one-pixel
// white outline on a magenta (transparent) ground, built from convex polygons and discs.
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "plat/Resources.h"
#include "plat/String.h"

namespace plat {

std::string EncodeBmp24(int width, int height, const std::uint32_t* rgb);

namespace {

constexpr std::uint32_t kClear = 0xFF00FF;
constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kHalo = 0xFFFFFF;
constexpr int kSize = 32;

struct Pt {
    double x, y;
};

// A shape is a union of convex polygons (corners in either order) and discs.
struct Shape {
    std::vector<std::vector<Pt>> polygons;
    std::vector<std::pair<Pt, double>> discs;

    bool Contains(double x, double y) const {
        for (const auto& [c, r] : discs)
            if ((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y) <= r * r) return true;
        for (const auto& poly : polygons) {
            int sign = 0;
            bool inside = true;
            for (std::size_t i = 0; i < poly.size() && inside; ++i) {
                const Pt a = poly[i];
                const Pt b = poly[(i + 1) % poly.size()];
                const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
                const int s = cross > 1e-9 ? 1 : cross < -1e-9 ? -1 : 0;
                if (s == 0) continue;
                if (sign == 0) sign = s;
                else if (s != sign) inside = false;
            }
            if (inside) return true;
        }
        return false;
    }
};

// Ink where the shape covers a pixel centre, a white halo around it, magenta elsewhere.
std::vector<std::uint32_t> Render(const Shape& shape) {
    std::vector<std::uint8_t> ink(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) ink[static_cast<std::size_t>(y * kSize + x)] = shape.Contains(x + 0.5, y + 0.5);
    std::vector<std::uint32_t> rgb(kSize * kSize, kClear);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (ink[static_cast<std::size_t>(y * kSize + x)]) {
                rgb[static_cast<std::size_t>(y * kSize + x)] = kInk;
                continue;
            }
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && ink[static_cast<std::size_t>(ny * kSize + nx)])
                        rgb[static_cast<std::size_t>(y * kSize + x)] = kHalo;
                }
        }
    return rgb;
}

// A triangle pointing along (dx, dy) from the centre c: base at distance `from`, tip at `to`.
std::vector<Pt> Arrowhead(Pt c, double dx, double dy, double from, double to, double halfWidth) {
    const double len = std::sqrt(dx * dx + dy * dy);
    dx /= len;
    dy /= len;
    const double px = -dy, py = dx;
    return {{c.x + dx * to, c.y + dy * to},
            {c.x + dx * from + px * halfWidth, c.y + dy * from + py * halfWidth},
            {c.x + dx * from - px * halfWidth, c.y + dy * from - py * halfWidth}};
}

std::vector<Pt> Box(double l, double t, double r, double b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

constexpr Pt kCentre{16, 16};

// The panning cursors: a dot at the hot spot with arrowheads in the directions it scrolls.
Shape Panning(const std::vector<std::pair<int, int>>& directions) {
    Shape s;
    s.discs.push_back({kCentre, 2.6});
    for (auto [dx, dy] : directions) s.polygons.push_back(Arrowhead(kCentre, dx, dy, 8, 14, 4.5));
    return s;
}

// A thick arrow along (dx, dy) whose tip is the hot spot.
Shape ThickArrow(Pt tip, double dx, double dy) {
    const double len = std::sqrt(dx * dx + dy * dy);
    dx /= len;
    dy /= len;
    const double px = -dy, py = dx;
    Shape s;
    const Pt base{tip.x - dx * 9, tip.y - dy * 9};
    s.polygons.push_back({tip, {base.x + px * 7, base.y + py * 7}, {base.x - px * 7, base.y - py * 7}});
    const Pt tail{tip.x - dx * 22, tip.y - dy * 22};
    s.polygons.push_back({{base.x + px * 2.5, base.y + py * 2.5},
                          {tail.x + px * 2.5, tail.y + py * 2.5},
                          {tail.x - px * 2.5, tail.y - py * 2.5},
                          {base.x - px * 2.5, base.y - py * 2.5}});
    return s;
}

// The cell selector: a fat cross.
Shape FatCross() {
    Shape s;
    s.polygons.push_back(Box(12.5, 4.5, 19.5, 27.5));
    s.polygons.push_back(Box(4.5, 12.5, 27.5, 19.5));
    return s;
}

// A splitter: two parallel bars across the edge at the hot spot and an arrowhead pointing
// away on each side; across = true for a vertical edge (sizing left and right).
Shape Splitter(bool across) {
    Shape s;
    if (across) {
        s.polygons.push_back(Box(13.5, 6.5, 14.5, 25.5));
        s.polygons.push_back(Box(17.5, 6.5, 18.5, 25.5));
        s.polygons.push_back(Box(5.5, 15, 26.5, 17));
        s.polygons.push_back(Arrowhead({16, 16}, -1, 0, 6, 13, 4.5));
        s.polygons.push_back(Arrowhead({16, 16}, 1, 0, 6, 13, 4.5));
    } else {
        s.polygons.push_back(Box(6.5, 13.5, 25.5, 14.5));
        s.polygons.push_back(Box(6.5, 17.5, 25.5, 18.5));
        s.polygons.push_back(Box(15, 5.5, 17, 26.5));
        s.polygons.push_back(Arrowhead({16, 16}, 0, -1, 6, 13, 4.5));
        s.polygons.push_back(Arrowhead({16, 16}, 0, 1, 6, 13, 4.5));
    }
    return s;
}

// The anchor pictures: a grey disc with a black rim, a dot and the arrowheads of the
// directions panning can take; the corners (top-left pixel included) are magenta.
std::vector<std::uint32_t> Anchor(const std::vector<std::pair<int, int>>& directions) {
    std::vector<std::uint32_t> rgb(kSize * kSize, kClear);
    Shape arrows;
    arrows.discs.push_back({kCentre, 2.2});
    for (auto [dx, dy] : directions) arrows.polygons.push_back(Arrowhead(kCentre, dx, dy, 5, 11, 4));
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double cx = x + 0.5 - kCentre.x, cy = y + 0.5 - kCentre.y;
            const double d = std::sqrt(cx * cx + cy * cy);
            std::uint32_t& p = rgb[static_cast<std::size_t>(y * kSize + x)];
            if (d > 14.5) continue;
            p = d > 13.3 ? 0x404040 : 0xE6E6E6;
            if (arrows.Contains(x + 0.5, y + 0.5)) p = 0x202020;
        }
    return rgb;
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> Cursor(const Shape& shape, TPoint hot) {
    const std::string bmp = EncodeBmp24(kSize, kSize, Render(shape).data());
    return MakeCursorResource(hot, bmp.data(), bmp.size());
}

} // namespace

std::vector<std::tuple<TResourceType, String, std::vector<std::uint8_t>>> BuiltinPointerArt() {
    const std::pair<int, int> down{0, 1}, left{-1, 0}, right{1, 0}, up{0, -1};
    const TPoint centre{16, 16};
    std::vector<std::tuple<TResourceType, String, std::vector<std::uint8_t>>> out;
    const auto cursor = [&](const char16_t* name, const Shape& s, TPoint hot) {
        out.emplace_back(RT_CURSOR, String(name), Cursor(s, hot));
    };
    cursor(u"8000", Panning({down, left, right, up}), centre);
    cursor(u"8001", Panning({down}), centre);
    cursor(u"8002", Panning({left}), centre);
    cursor(u"8003", Panning({right}), centre);
    cursor(u"8004", Panning({up}), centre);
    cursor(u"8005", Panning({{1, -1}}), centre);
    cursor(u"8006", Panning({{-1, -1}}), centre);
    cursor(u"8007", Panning({{1, 1}}), centre);
    cursor(u"8008", Panning({{-1, 1}}), centre);
    cursor(u"8010", ThickArrow({27, 16}, 1, 0), {26, 16});   // row select: points right
    cursor(u"8011", ThickArrow({16, 27}, 0, 1), {16, 26});   // column select: points down
    cursor(u"8012", ThickArrow({25, 25}, 1, 1), {24, 24});   // select all: points down-right
    cursor(u"8014", FatCross(), centre);
    // The tree's splitter cursors: a bar across the edge with arrowheads off both sides.
    cursor(u"LT_HEADERSPLIT", Splitter(true), centre);
    cursor(u"LT_VERTSPLIT", Splitter(false), centre);
    // The tree's panning cursors: the directions the content moves towards, by compass point.
    const std::pair<int, int> ne{1, -1}, nw{-1, -1}, se{1, 1}, sw{-1, 1};
    cursor(u"LT_MOVEALL", Panning({down, left, right, up}), centre);
    cursor(u"LT_MOVEEW", Panning({left, right}), centre);
    cursor(u"LT_MOVENS", Panning({down, up}), centre);
    cursor(u"LT_MOVEN", Panning({up}), centre);
    cursor(u"LT_MOVES", Panning({down}), centre);
    cursor(u"LT_MOVEE", Panning({right}), centre);
    cursor(u"LT_MOVEW", Panning({left}), centre);
    cursor(u"LT_MOVENE", Panning({ne}), centre);
    cursor(u"LT_MOVENW", Panning({nw}), centre);
    cursor(u"LT_MOVESE", Panning({se}), centre);
    cursor(u"LT_MOVESW", Panning({sw}), centre);
    const auto anchor = [&](const char16_t* name, const std::vector<std::pair<int, int>>& dirs) {
        out.emplace_back(RT_BITMAP, String(name), Bytes(EncodeBmp24(kSize, kSize, Anchor(dirs).data())));
    };
    anchor(u"INTLI1", {down, left, right, up});
    anchor(u"INTLI2", {left, right});
    anchor(u"INTLI3", {down, up});
    // The tree's panning window pictures, by the directions the content can move.
    anchor(u"LT_MOVEALL", {down, left, right, up});
    anchor(u"LT_MOVEEW", {left, right});
    anchor(u"LT_MOVENS", {down, up});
    return out;
}

} // namespace plat
