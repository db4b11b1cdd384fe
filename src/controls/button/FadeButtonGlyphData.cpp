// Pixel art of the button pictures. One character per pixel:
//   .  background    k black    w white    s silver    d grey
//   g  dark green    G green    r maroon   R red       b navy   B blue
//   y  yellow
#include "FadeButtonGlyphs.h"

#include <array>

namespace controls {

namespace {

struct TArt {
    std::string_view Name;
    bool WithDisabled;  // kind strips carry a second, disabled image built from the first
    std::vector<std::string_view> Rows;
};

const std::array<TArt, 11>& Arts()
{
    static const std::array<TArt, 11> arts{{
        {"LBOK", true, {
            "..................",
            "..............g...",
            ".............gGg..",
            "............gGGGg.",
            "............gGGg..",
            "...........gGGg...",
            "..........gGGGg...",
            "...g.....gGGGg....",
            "..gGg....gGGg.....",
            ".gGGGg..gGGGg.....",
            "..gGGGggGGGg......",
            "...gGGGgGGg.......",
            "....gGGGGg........",
            ".....gGGGg........",
            "......gGg.........",
            ".......g..........",
            "..................",
            "..................",
        }},
        {"LBCANCEL", true, {
            "..................",
            "..................",
            "....r........r....",
            "...rRr......rRr...",
            "..rRRRr....rRRRr..",
            "...rRRRr..rRRRr...",
            "....rRRRrrRRRr....",
            ".....rRRRRRRr.....",
            "......rRRRRr......",
            "......rRRRRr......",
            ".....rRRRRRRr.....",
            "....rRRRrrRRRr....",
            "...rRRRr..rRRRr...",
            "..rRRRr....rRRRr..",
            "...rRr......rRr...",
            "....r........r....",
            "..................",
            "..................",
        }},
        {"LBHELP", true, {
            "..................",
            "......bBBBBb......",
            ".....BBBBBBBB.....",
            "....BBB....BBB....",
            "....BB......BB....",
            "............BB....",
            "...........BBB....",
            "..........BBB.....",
            ".........BBB......",
            "........BBB.......",
            "........BB........",
            "........BB........",
            "..................",
            "........BB........",
            "........BB........",
            "..................",
            "..................",
            "..................",
        }},
        {"LBYES", true, {
            "..................",
            "......gggggg......",
            "....ggGGGGGGgg....",
            "...gGGGGGGGGGGg...",
            "..gGGGGGGGGGGGGg..",
            "..gGGGGGGGGGwwGg..",
            ".gGGGGGGGGGwwGGGg.",
            ".gGGGGGGGGGwwGGGg.",
            ".gGGGGGGGGwwGGGGg.",
            ".gGGwwGGGwwGGGGGg.",
            ".gGGGwwGwwGGGGGGg.",
            ".gGGGGwwwwGGGGGGg.",
            "..gGGGGwwGGGGGGg..",
            "..gGGGGGGGGGGGGg..",
            "...gGGGGGGGGGGg...",
            "....ggGGGGGGgg....",
            "......gggggg......",
            "..................",
        }},
        {"LBNO", true, {
            "..................",
            "......RRRRRR......",
            "....RRRRRRRRRR....",
            "...RRRRR..RRRRR...",
            "..RRRR......RRRR..",
            "..RRRRR......RRR..",
            ".RRR.RRR......RRR.",
            ".RRR..RRR.....RRR.",
            ".RR....RRR.....RR.",
            ".RR.....RRR....RR.",
            ".RRR.....RRR..RRR.",
            ".RRR......RRR.RRR.",
            "..RRR......RRRRR..",
            "..RRRR......RRRR..",
            "...RRRRR..RRRRR...",
            "....RRRRRRRRRR....",
            "......RRRRRR......",
            "..................",
        }},
        {"LBCLOSE", true, {
            "..................",
            "....kkkkkkkkkk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrykyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....krrrrkyyyk....",
            "....kkkkkkkkkk....",
            "..................",
        }},
        {"LBABORT", true, {
            "..................",
            ".....rrrrrrrr.....",
            "....rRRRRRRRRr....",
            "...rRRRRRRRRRRr...",
            "..rRRRRRRRRRRRRr..",
            ".rRRRRRRRRRRRRRRr.",
            ".rRRRRRRRRRRRRRRr.",
            ".rRRwwwwwwwwwwRRr.",
            ".rRRwwwwwwwwwwRRr.",
            ".rRRwwwwwwwwwwRRr.",
            ".rRRwwwwwwwwwwRRr.",
            ".rRRRRRRRRRRRRRRr.",
            ".rRRRRRRRRRRRRRRr.",
            "..rRRRRRRRRRRRRr..",
            "...rRRRRRRRRRRr...",
            "....rRRRRRRRRr....",
            ".....rrrrrrrr.....",
            "..................",
        }},
        {"LBRETRY", true, {
            "..................",
            "..................",
            "..........g.......",
            "..........gg......",
            ".......gggggg.....",
            ".....gggg.gg......",
            "....ggg...g.......",
            "....gg............",
            "...gg........gg...",
            "...gg........gg...",
            "...gg........gg...",
            "...gg........gg...",
            "....gg......gg....",
            "....ggg....ggg....",
            ".....gggggggg.....",
            ".......gggg.......",
            "..................",
            "..................",
        }},
        {"LBIGNORE", true, {
            "..................",
            "..................",
            "..................",
            "..........B.......",
            "..........BB......",
            "..........BBB.....",
            "..BBBBBBBBBBBB....",
            "..BBBBBBBBBBBBB...",
            "..BBBBBBBBBBBB....",
            "..........BBB.....",
            "..........BB......",
            "..........B.......",
            "..................",
            "..kkkkkkkkkkkkkk..",
            "..................",
            "..................",
            "..................",
            "..................",
        }},
        {"LBALL", true, {
            "..................",
            "..................",
            "..........g.......",
            ".........gGg......",
            "........gGGg......",
            ".......gGGg.......",
            "......gGGg........",
            ".gg...gGg......gg.",
            "gGGg.gGGg.....gGGg",
            "gGGGgGGg......gGGg",
            ".gGGGGg......gGGg.",
            "..gGGg......gGGg..",
            "...gg......gGGg...",
            "......gg...gGGg...",
            ".....gGGg.gGGg....",
            ".....gGGGgGGg.....",
            "......gGGGGg......",
            ".......gGGGg......",
            "........ggg.......",
        }},
        {"LBARROW", false, {
            "kkkkk",
            ".kkk.",
            "..k..",
        }},
    }};
    return arts;
}

plat::TColor Palette(char c)
{
    switch (c) {
    case 'k': return 0x000000;
    case 'w': return 0xFFFFFF;
    case 's': return 0xC0C0C0;
    case 'd': return 0x808080;
    case 'g': return 0x008000;
    case 'G': return 0x00FF00;
    case 'r': return 0x000080;
    case 'R': return 0x0000FF;
    case 'b': return 0x800000;
    case 'B': return 0xFF0000;
    case 'y': return 0x00FFFF;
    default: return GlyphBackground;
    }
}

} // namespace

TGlyphPixels FadeGlyphPixels(std::string_view name)
{
    TGlyphPixels out;
    for (const TArt& art : Arts()) {
        if (art.Name != name)
            continue;
        const int w = static_cast<int>(art.Rows.front().size());
        const int h = static_cast<int>(art.Rows.size());
        out.Width = art.WithDisabled ? 2 * w : w;
        out.Height = h;
        out.Pixels.assign(static_cast<size_t>(out.Width) * h, GlyphBackground);
        auto set = [&out](int x, int y, plat::TColor c) {
            if (x < out.Width && y < out.Height)
                out.Pixels[static_cast<size_t>(y) * out.Width + x] = c;
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w && x < static_cast<int>(art.Rows[y].size()); ++x)
                set(x, y, Palette(art.Rows[y][x]));
        if (art.WithDisabled) {
            // The disabled image is the engraved silhouette of the normal one: a white copy one
            // pixel down and right under a grey copy, so it reads as greyed out on any face.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (art.Rows[y][x] != '.' && x + 1 < w && y + 1 < h)
                        set(w + x + 1, y + 1, 0xFFFFFF);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (art.Rows[y][x] != '.')
                        set(w + x, y, 0x808080);
            // Keep the image's bottom-left pixel the background: it names the transparent colour.
            set(w, h - 1, GlyphBackground);
        }
        return out;
    }
    return out;
}

} // namespace controls
