// Classic three-dimensional edges and frame controls in the system colours.
#include <algorithm>

#include "CanvasImpl.h"

namespace plat {

namespace {

// One-pixel rows and columns in a colour, without touching pen or brush of the caller.
struct Painter {
    TCanvas* c;
    TCanvas::Impl& d;
    explicit Painter(TCanvas* canvas) : c(canvas), d(*CanvasAccess::Of(canvas)) {}
    void Fill(int l, int t, int r, int b, TColor color) {
        if (r <= l || b <= t) return;
        const std::uint32_t px = d.Px(ColorToRGB(color));
        const QRect s = QRect(l + d.tx(), t + d.ty(), r - l, b - t) & d.clipBounds;
        for (int y = s.top(); y <= s.bottom(); ++y) d.SpanRop2(y, s.left(), s.right() + 1, px, R2_COPYPEN);
    }
    void Pixel(int x, int y, TColor color) { Fill(x, y, x + 1, y + 1, color); }
    // Draws rows of an ASCII picture: each character selects a colour from `palette`
    // ('.' and ' ' leave the pixel alone).
    void Art(int x, int y, std::initializer_list<const char*> rows, const std::function<TColor(char)>& palette) {
        int yy = y;
        for (const char* row : rows) {
            for (int i = 0; row[i]; ++i) {
                if (row[i] == '.' || row[i] == ' ') continue;
                Pixel(x + i, yy, palette(row[i]));
            }
            ++yy;
        }
    }
};

// Top/left and bottom/right colours of one ring of an edge.
void Ring(Painter& p, TRect& r, unsigned flags, TColor lt, TColor rb) {
    // Top-left colour: top row without its last pixel, left column without its last pixel;
    // the bottom-right colour takes the two corners it meets.
    if (flags & BF_TOP) p.Fill(r.Left, r.Top, r.Right - ((flags & BF_RIGHT) ? 1 : 0), r.Top + 1, lt);
    if (flags & BF_LEFT) p.Fill(r.Left, r.Top, r.Left + 1, r.Bottom - ((flags & BF_BOTTOM) ? 1 : 0), lt);
    if (flags & BF_BOTTOM) p.Fill(r.Left, r.Bottom - 1, r.Right, r.Bottom, rb);
    if (flags & BF_RIGHT) p.Fill(r.Right - 1, r.Top, r.Right, r.Bottom, rb);
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
}

} // namespace

bool DrawEdge(TCanvas* canvas, TRect& rect, unsigned edge, unsigned flags) {
    // Diagonal edges are not part of the classic look this program draws.
    if (!canvas || (flags & BF_DIAGONAL)) return false;
    Painter p(canvas);
    if (!p.d.Ready()) return false;
    CanvasAccess::BeginDraw(canvas);
    TRect r = rect;
    const unsigned outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    TColor outerLT = clNone, outerRB = clNone, innerLT = clNone, innerRB = clNone;
    if (flags & BF_MONO) {
        outerLT = outerRB = clWindowFrame;
        innerLT = innerRB = clWindow;
    } else if (flags & BF_FLAT) {
        outerLT = outerRB = clBtnShadow;
        innerLT = innerRB = clBtnFace;
    } else {
        if (outer == BDR_RAISEDOUTER) {
            outerLT = (flags & BF_SOFT) ? clBtnHighlight : cl3DLight;
            outerRB = cl3DDkShadow;
        } else if (outer == BDR_SUNKENOUTER) {
            outerLT = (flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow;
            outerRB = clBtnHighlight;
        }
        if (inner == BDR_RAISEDINNER) {
            innerLT = (flags & BF_SOFT) ? cl3DLight : clBtnHighlight;
            innerRB = clBtnShadow;
        } else if (inner == BDR_SUNKENINNER) {
            innerLT = (flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow;
            innerRB = cl3DLight;
        }
    }
    if (outer) Ring(p, r, flags, outerLT, outerRB);
    if (inner) Ring(p, r, flags, innerLT, innerRB);
    if (flags & BF_MIDDLE) p.Fill(r.Left, r.Top, r.Right, r.Bottom, (flags & BF_MONO) ? clWindow : clBtnFace);
    if (flags & BF_ADJUST) rect = r;
    CanvasAccess::EndDraw(canvas);
    return true;
}

namespace {

void CheckBox(Painter& p, const TRect& rect, unsigned state) {
    const int size = std::min({13, rect.Width(), rect.Height()});
    const int x = rect.Left + (rect.Width() - size) / 2, y = rect.Top + (rect.Height() - size) / 2;
    TRect box{x, y, x + size, y + size};
    const bool flat = state & (DFCS_FLAT | DFCS_MONO);
    if (flat) {
        p.Fill(box.Left, box.Top, box.Right, box.Bottom, (state & DFCS_MONO) ? clWindowFrame : clBtnShadow);
        box = {box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1};
    } else {
        DrawEdge(p.c, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    const bool grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
    p.Fill(box.Left, box.Top, box.Right, box.Bottom, grey ? clBtnFace : clWindow);
    if (state & DFCS_CHECKED) {
        const TColor mark = (state & DFCS_INACTIVE) ? clGrayText : clWindowText;
        // The classic 7 x 7 tick, centred in the 9 x 9 interior.
        const int cx = box.Left + (box.Width() - 7) / 2, cy = box.Top + (box.Height() - 7) / 2;
        p.Art(cx, cy,
              {"......#",
               ".....##",
               "#...###",
               "##.###.",
               "#####..",
               ".###...",
               "..#...."},
              [mark](char) { return mark; });
    }
}

void Radio(Painter& p, const TRect& rect, unsigned state) {
    const int x = rect.Left + (rect.Width() - 12) / 2, y = rect.Top + (rect.Height() - 12) / 2;
    const bool grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
    const bool flat = state & (DFCS_FLAT | DFCS_MONO);
    // s = shadow, d = dark shadow, h = highlight, l = 3-D light, w = interior.
    const auto palette = [&](char c) -> TColor {
        switch (c) {
        case 's': return flat ? clBtnShadow : clBtnShadow;
        case 'd': return flat ? clBtnShadow : cl3DDkShadow;
        case 'h': return flat ? clBtnShadow : clBtnHighlight;
        case 'l': return flat ? (grey ? clBtnFace : clWindow) : cl3DLight;
        case 'w': return grey ? clBtnFace : clWindow;
        default: return (state & DFCS_INACTIVE) ? clGrayText : clWindowText;
        }
    };
    p.Art(x, y,
          {"....ssss....",
           "..ssddddss..",
           ".sddwwwwddh.",
           ".sdwwwwwwlh.",
           "sdwwwwwwwwlh",
           "sdwwwwwwwwlh",
           "sdwwwwwwwwlh",
           "sdwwwwwwwwlh",
           ".sdwwwwwwlh.",
           ".hllwwwwllh.",
           "..hhllllhh..",
           "....hhhh...."},
          palette);
    if (state & DFCS_CHECKED) {
        p.Art(x, y,
              {"............",
               "............",
               "............",
               "............",
               ".....##.....",
               "....####....",
               "....####....",
               ".....##.....",
               "............",
               "............",
               "............",
               "............"},
              palette);
    }
}

void PushFace(Painter& p, TRect& r, unsigned state) {
    if (state & DFCS_FLAT) {
        p.Fill(r.Left, r.Top, r.Right, r.Bottom, clBtnShadow);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        p.Fill(r.Left, r.Top, r.Right, r.Bottom, clBtnFace);
    } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
        // Pressed: a dark frame round a shadow line, the face flat.
        p.Fill(r.Left, r.Top, r.Right, r.Bottom, cl3DDkShadow);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        p.Fill(r.Left, r.Top, r.Right, r.Bottom, clBtnShadow);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        p.Fill(r.Left, r.Top, r.Right, r.Bottom, (state & DFCS_CHECKED) && !(state & DFCS_PUSHED) ? clBtnHighlight : clBtnFace);
    } else {
        DrawEdge(p.c, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    }
}

void Arrow(Painter& p, const TRect& face, unsigned kind, bool inactive, int shift) {
    // A filled triangle sized to the face, pointing as the kind says.
    const int size = std::max(1, (std::min(face.Width(), face.Height()) - 4) / 3);
    const int cx = face.Left + face.Width() / 2 + shift, cy = face.Top + face.Height() / 2 + shift;
    auto tri = [&](int ox, int oy, TColor color) {
        for (int i = 0; i < size; ++i) {
            switch (kind) {
            case DFCS_SCROLLUP: p.Fill(cx - i + ox, cy - size / 2 + i + oy, cx + i + 1 + ox, cy - size / 2 + i + 1 + oy, color); break;
            case DFCS_SCROLLLEFT: p.Fill(cx - size / 2 + i + ox, cy - i + oy, cx - size / 2 + i + 1 + ox, cy + i + 1 + oy, color); break;
            case DFCS_SCROLLRIGHT: p.Fill(cx + size / 2 - i + ox, cy - i + oy, cx + size / 2 - i + 1 + ox, cy + i + 1 + oy, color); break;
            default: p.Fill(cx - i + ox, cy + size / 2 - i + oy, cx + i + 1 + ox, cy + size / 2 - i + 1 + oy, color); break;
            }
        }
    };
    if (inactive) {
        tri(1, 1, clBtnHighlight);
        tri(0, 0, clGrayText);
    } else {
        tri(0, 0, clBtnText);
    }
}

} // namespace

bool DrawFrameControl(TCanvas* canvas, const TRect& rect, unsigned type, unsigned state) {
    if (!canvas || rect.IsEmpty()) return false;
    Painter p(canvas);
    if (!p.d.Ready()) return false;
    CanvasAccess::BeginDraw(canvas);
    bool ok = true;
    if (type == DFC_BUTTON) {
        if (state & DFCS_BUTTONPUSH) {
            TRect r = rect;
            PushFace(p, r, state);
        } else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE)) {
            Radio(p, rect, state);
        } else {
            CheckBox(p, rect, state);
        }
    } else if (type == DFC_SCROLL) {
        TRect r = rect;
        PushFace(p, r, state);
        const unsigned kind = state & 0xFF;
        const bool pushed = (state & DFCS_PUSHED) && !(state & DFCS_FLAT);
        Arrow(p, rect, kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : kind, state & DFCS_INACTIVE, pushed ? 1 : 0);
    } else {
        ok = false;
    }
    CanvasAccess::EndDraw(canvas);
    return ok;
}

} // namespace plat
