// DrawMarkupText: layout, drawing and hit testing of cell markup.
//
// Each line is laid out twice from the same start state: a measuring pass that consumes one
// line and finds its width, height, alignment and what lies under the point, and (unless
// only measuring) a drawing pass over the same source that places the runs inside the
// line's rectangle. The state that tags change (font, colours, link, list depth, ...) lives
// in one struct that is copied at the start of the line, so both passes start alike.
#include <algorithm>
#include <cmath>
#include <vector>

#include "EsgHTMLE.h"
#include "PictureContainer.h"
#include "plat/ImgList.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

namespace {

TColor gHighlightBack = plat::clHighlight;
TColor gHighlightText = plat::clHighlightText;

constexpr int kMinFontPoints = 1;
constexpr int kMaxFontPoints = 400;

// ---- small text helpers

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

String UpperAsciiText(StringView s) {
    String r(s);
    for (char16_t& c : r) c = UpperAscii(c);
    return r;
}

bool IsNameChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}

// The value of attribute `name` in a tag: the text between the first two double quotes after
// the name. The name counts only as a whole word, so COLOR is not found inside BGCOLOR.
bool TagAttr(StringView tag, StringView name, String& value) {
    for (std::size_t i = 0; i + name.size() <= tag.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k) same = UpperAscii(tag[i + k]) == UpperAscii(name[k]);
        if (!same) continue;
        if (i > 0 && IsNameChar(tag[i - 1])) continue;
        if (i + name.size() < tag.size() && IsNameChar(tag[i + name.size()])) continue;
        const std::size_t q1 = tag.find(u'"', i + name.size());
        if (q1 == StringView::npos) return false;
        const std::size_t q2 = tag.find(u'"', q1 + 1);
        if (q2 == StringView::npos) return false;
        value = String(tag.substr(q1 + 1, q2 - q1 - 1));
        return true;
    }
    return false;
}

String Attr(StringView tag, StringView name) {
    String v;
    TagAttr(tag, name, v);
    return v;
}

// The first quoted value of a tag (<IND x="n">, <R a="deg">).
String FirstQuoted(StringView tag) {
    const std::size_t q1 = tag.find(u'"');
    if (q1 == StringView::npos) return String();
    const std::size_t q2 = tag.find(u'"', q1 + 1);
    return q2 == StringView::npos ? String() : String(tag.substr(q1 + 1, q2 - q1 - 1));
}

bool ToInt(StringView s, int& n) { return plat::TryStrToInt(plat::Trim(s), n); }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    c = UpperAscii(c);
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return 0;
}

TColor HexColor(StringView v) {
    const std::size_t h = v.find(u'#');
    StringView d = h == StringView::npos ? v : v.substr(h + 1);
    int bytes[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        if (d.size() >= static_cast<std::size_t>(2 * i + 2)) bytes[i] = 16 * HexDigit(d[2 * i]) + HexDigit(d[2 * i + 1]);
    return plat::RGB(bytes[0], bytes[1], bytes[2]);
}

TColor NamedColor(StringView v) {
    struct Named {
        StringView name;
        TColor colour;
    };
    static constexpr Named kNames[] = {
        {u"clred", 0x0000FF}, {u"clblack", 0}, {u"clblue", 0xFF0000}, {u"clgreen", 0x008000},
        {u"claqua", 0xFFFF00}, {u"clyellow", 0x00FFFF}, {u"clfuchsia", 0xFF00FF}, {u"clwhite", 0xFFFFFF},
        {u"cllime", 0x00FF00}, {u"clsilver", 0xC0C0C0}, {u"clgray", 0x808080}, {u"clolive", 0x008080},
        {u"clnavy", 0x800000}, {u"clpurple", 0x800080}, {u"clteal", 0x808000}, {u"clmaroon", 0x000080},
    };
    static constexpr StringView kSystem[] = {
        u"clbackground", u"clactivecaption", u"clinactivecaption", u"clmenu", u"clwindow", u"clwindowframe",
        u"clmenutext", u"clwindowtext", u"clcaptiontext", u"clactiveborder", u"clinactiveborder",
        u"clappworkspace", u"clhighlight", u"clhighlighttext", u"clbtnface", u"clbtnshadow", u"clgraytext",
        u"clbtntext", u"clinactivecaptiontext", u"clbtnhighlight", u"cl3ddkshadow", u"cl3dlight", u"clinfotext",
        u"clinfobk"};
    String lower(plat::Trim(v));
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    for (const Named& n : kNames)
        if (lower == n.name) return n.colour;
    for (std::size_t i = 0; i < std::size(kSystem); ++i)
        if (lower == kSystem[i]) return static_cast<TColor>(0xFF000000u + i + 1);
    return 0;
}

// FONT: "#" starts hexadecimal, anything else is a name.
TColor FontColor(StringView v) { return !v.empty() && v[0] == u'#' ? HexColor(v) : NamedColor(v); }
// BODY and P: a value containing "CL" is a name, one containing "#" hexadecimal.
TColor BodyColor(StringView v) {
    const String u = UpperAsciiText(v);
    if (u.find(u"CL") != String::npos) return NamedColor(v);
    if (u.find(u'#') != String::npos) return HexColor(v);
    return plat::clNone;
}

// Replaces every occurrence of `what` in s; true when any was found.
bool ReplaceIn(String& s, StringView what, StringView with) {
    std::size_t at = s.find(what);
    if (at == String::npos) return false;
    String r;
    r.reserve(s.size());
    std::size_t from = 0;
    while (at != String::npos) {
        r.append(s, from, at - from);
        r += with;
        from = at + what.size();
        at = s.find(what, from);
    }
    r.append(s, from, String::npos);
    s = std::move(r);
    return true;
}

// The entities of the drawing in one stretch of text outside tags. Each pass shortens the
// text, so the passes end.
void DecodeDrawnEntities(String& s) {
    static constexpr StringView kFrom[] = {u"&amp;", u"&quot;", u"&sect;", u"&permil;", u"&reg;",
                                          u"&copy;", u"&para;", u"&trade;", u"&euro;"};
    static constexpr StringView kTo[] = {u"&&", u"\"", u"\u00A7", u"\u2030", u"\u00AE",
                                        u"\u00A9", u"\u00B6", u"\u2122", u"\u20AC"};
    bool again = s.find(u'&') != String::npos;
    while (again) {
        again = false;
        for (std::size_t i = 0; i < std::size(kFrom); ++i) again = ReplaceIn(s, kFrom[i], kTo[i]) || again;
    }
}

// Entities the drawing shows, "<#name>" tags made text, line feeds gone, carriage returns
// made <BR>. "&amp;" becomes "&&", which text drawing shows as one ampersand. Tags keep their
// entities, so that attribute values (a control's VALUE) arrive as written.
String PrepareText(StringView text) {
    String r;
    r.reserve(text.size() + 8);
    String stretch;
    auto flush = [&] {
        DecodeDrawnEntities(stretch);
        r += stretch;
        stretch.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'<') {
            const std::size_t close = text.find(u'>', i + 1);
            if (close != StringView::npos) {
                if (i + 1 < text.size() && text[i + 1] == u'#') {
                    stretch.append(text.substr(i + 1, close - i - 1));
                } else {
                    flush();
                    for (std::size_t k = i; k <= close; ++k)
                        if (text[k] != u'\n' && text[k] != u'\r') r += text[k];
                }
                i = close;
                continue;
            }
        }
        if (ch == u'\n') continue;
        if (ch == u'\r') {
            flush();
            r += u"<BR>";
            continue;
        }
        stretch += ch;
    }
    flush();
    return r;
}

bool PtIn(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

// ---- the state tags change

struct TState {
    plat::TFont font;
    TColor textBack = plat::clNone;     // FONT BGCOLOR, <HI> and hovered links: filled behind runs
    TColor fontSavedBack = plat::clNone;
    TColor hiSavedColor = plat::clNone, hiSavedBack = plat::clNone;
    TColor linkSavedBack = plat::clNone;
    TColor paraBack = plat::clNone;      // <P BGCOLOR>: fills each line until </P>
    bool inLink = false;
    int links = 0;
    String href, title;
    bool shadow = false, sup = false, sub = false, hidden = false, error = false;
    int listDepth = 0;
    int images = 0;
};

enum TLineAlign { laLeft, laRight, laCenter };

// What one pass over a line found.
struct TLine {
    std::size_t end = 0;  // where the next line starts
    int width = 0;
    int height = 0;       // text height of the line
    int supRoom = 0, subRoom = 0;
    int baselineUp = 0;   // ALIGN TOP / MIDDLE of an image
    TLineAlign align = laLeft;
    int indent = 0;
    bool stop = false;    // the rest of the text is dropped
    TColor paraBack = plat::clNone;
    int firstLink = 0;    // links counted before the line
};

class TRenderer {
public:
    TRenderer(const TMarkupDrawInput& in, TMarkupDrawResult& out) : in_(in), out_(out), c_(in.Canvas) {}

    bool Run();

private:
    // One pass over the line starting at `pos`. `draw`: place and paint into `box` (the
    // line's rectangle, known from the measuring pass).
    TLine Line(std::size_t pos, bool draw, const TRect& box, const TLine* measured);

    // What one pass over a line carries from element to element.
    struct TPass {
        bool draw = false;          // the second pass, placed in the line's box
        bool paint = false;         // and painting (not with FindControl)
        TRect box;
        const TLine* measured = nullptr;  // the measuring pass's result, in the second pass
        TLine L;
        std::size_t runIndex = 0;   // next entry of runWidths_
        int avail = 0;              // width of the layout area
        int x = 0;                  // position in the line
        int lastBlankW = 0;         // width of a trailing blank of the line so far
        bool endsWithBlank = false;
        bool hadLi = false;
        int linkStartX = 0;         // x where the current link began on this line
        int baseBottom = 0;         // bottom of normal text in the second pass
        int originX = 0;
        int px = 0;                 // the point's x, mirrored for right-to-left reading
    };
    enum TStep { stContinue, stLineEnd, stBreakBefore };
    // A run of text from pos to runEnd; false when the line ends before or with it.
    bool TextRun(TPass& p, std::size_t pos, std::size_t runEnd);
    // A closing tag (name without "/"); true when it ends the line.
    bool CloseTag(TPass& p, StringView name);
    TStep OpenTag(TPass& p, StringView tag, std::size_t pos);
    TStep Control(TPass& p, StringView tag, std::size_t pos);
    TStep Image(TPass& p, StringView tag, std::size_t pos);
    TStep ListItem(TPass& p);

    int TextW(StringView run) {
        // Without prefix characters and tabs the layout's width is the advance of the text.
        if (run.find_first_of(u"&\t") == StringView::npos) return c_->TextWidth(run);
        TRect r(0, 0, 0x3FFFFFFF, 0);
        c_->DrawText(run, r, Flags() | plat::DT_CALCRECT);
        return r.Width();
    }
    unsigned Flags() const {
        unsigned f = plat::DT_SINGLELINE | plat::DT_BOTTOM | plat::DT_EXPANDTABS | plat::DT_EXTERNALLEADING;
        if (in_.RightToLeft) f |= plat::DT_RTLREADING;
        return f;
    }
    void ApplyFont(TState& s) {
        c_->Font()->Assign(s.font);
        fontHeight_ = blankWidth_ = -1;
    }
    // A single line's height depends on the font only.
    // A run bottom-aligned in r. Runs without prefix characters or tabs that fit need no
    // layout: they are placed directly, clipped to r as the layout would clip them.
    void PutRun(StringView run, TRect r, unsigned flags) {
        const bool plain = !in_.RightToLeft && run.find_first_of(u"&\t") == StringView::npos &&
                           (runWidthNow_ <= r.Width());
        if (plain) c_->TextRect(r, r.Left, r.Bottom - FontHeight(), run);
        else c_->DrawText(run, r, flags);
    }
    int FontHeight() {
        if (fontHeight_ < 0) fontHeight_ = c_->TextHeight(u"gh");
        return fontHeight_;
    }
    int BlankWidth() {
        if (blankWidth_ < 0) blankWidth_ = TextW(u" ");
        return blankWidth_;
    }
    void SetStyle(TState& s, plat::TFontStyle st, bool on) {
        s.font.SetStyle(on ? s.font.Style() + st : s.font.Style() - st);
        ApplyFont(s);
    }
    void SetColour(TState& s, TColor c) {
        s.font.SetColor(c);
        ApplyFont(s);
    }
    // Picture of an IMG source; nullptr when none.
    THTMLPicture* FindPicture(const String& src);

    const TMarkupDrawInput& in_;
    TMarkupDrawResult& out_;
    TCanvas* c_;
    String text_;
    TRect area_;
    int ghHeight_ = 0;
    TState state_;
    plat::TFont startFont_;
    TColor startBack_ = plat::clWhite;
    std::vector<bool> imageHover_;  // per image number: the point lay on it while measuring
    // Widths of the line's runs found while measuring, in order: the drawing pass meets the
    // same runs in the same font states.
    std::vector<int> runWidths_;
    int fontHeight_ = -1, blankWidth_ = -1;
    int runWidthNow_ = 0;  // width of the run being drawn
    bool hit_ = false;
    bool linkHitThisLine_ = false;
    bool controlMode_ = false;      // FindControl: measure only
};

THTMLPicture* TRenderer::FindPicture(const String& src) {
    if (src.find(u"://") != String::npos) {
        if (!in_.PictureCache) return nullptr;
        THTMLPicture* p = in_.PictureCache->FindPicture(src);
        if (!p) {
            p = in_.PictureCache->AddPicture();
            p->ID = src;
            p->LoadFromURL(src);
        }
        return p;
    }
    if (src.find(u':') != String::npos || !in_.Pictures) return nullptr;
    return in_.Pictures->FindPicture(src);
}

TLine TRenderer::Line(std::size_t pos, bool draw, const TRect& box, const TLine* measured) {
    TPass p;
    p.draw = draw;
    p.paint = draw && !controlMode_;
    p.box = box;
    p.measured = measured;
    p.avail = area_.Width();
    p.baseBottom = draw ? box.Top + measured->supRoom + measured->height - measured->baselineUp : 0;
    p.originX = box.Left;
    // With right-to-left reading the point is mirrored inside the line.
    p.px = in_.RightToLeft ? (box.Left + box.Right) - in_.XPos : in_.XPos;
    TLine& L = p.L;
    if (!draw) runWidths_.clear();
    L.firstLink = state_.links;
    L.paraBack = state_.paraBack;
    L.height = ghHeight_;
    if (p.paint && measured->paraBack != plat::clNone) {
        c_->Brush()->SetColor(measured->paraBack);
        c_->FillRect(TRect(area_.Left, box.Top, area_.Right, box.Bottom));
    }
    const String& t = text_;
    const std::size_t n = t.size();
    L.end = n;
    while (pos < n) {
        // A text run: up to the next tag, with WordWrap up to and with the next blank.
        std::size_t runEnd = t.find(u'<', pos);
        if (runEnd == String::npos) runEnd = n;
        if (in_.WordWrap) {
            const std::size_t blank = t.find(u' ', pos);
            if (blank != String::npos && blank < runEnd) runEnd = blank + 1;
        }
        if (runEnd > pos) {
            if (!TextRun(p, pos, runEnd)) break;
            pos = runEnd;
            continue;
        }
        // The tag at pos; a "<" near the end or without ">" ends the text.
        const std::size_t close = n - pos < 3 ? String::npos : t.find(u'>', pos);
        if (close == String::npos) {
            L.end = n;
            L.stop = true;
            break;
        }
        const StringView tag = StringView(t).substr(pos + 1, close - pos - 1);  // without < >
        if (tag.empty() || (tag[0] == u'/' && tag.size() == 1)) {
            pos = close + 1;
            continue;
        }
        TStep step = stContinue;
        if (tag[0] == u'/') step = CloseTag(p, tag.substr(1)) ? stLineEnd : stContinue;
        else step = OpenTag(p, tag, pos);
        if (step == stBreakBefore) {
            L.end = pos;
            break;
        }
        pos = close + 1;
        if (step == stLineEnd) {
            L.end = pos;
            break;
        }
    }
    if (state_.inLink && linkHitThisLine_) {
        // A link that goes on in the next line: the hovered part of this line.
        out_.MouseLink = state_.links;
        out_.HoverRect = TRect(p.originX + p.linkStartX, box.Top, p.originX + p.x, box.Top + L.height);
    }
    linkHitThisLine_ = false;
    L.width = std::max(0, p.x - (p.endsWithBlank ? p.lastBlankW : 0));
    return L;
}

bool TRenderer::TextRun(TPass& p, std::size_t pos, std::size_t runEnd) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    const String& t = text_;
    const std::size_t n = t.size();
    String run = t.substr(pos, runEnd - pos);
    ReplaceIn(run, u"&nbsp;", u" ");
    ReplaceIn(run, u"&lt;", u"<");
    ReplaceIn(run, u"&gt;", u">");
    if (!state_.hidden) {
        const int h = FontHeight();
        L.height = std::max(L.height, h);
        if (state_.sup) L.supRoom = std::max(L.supRoom, h / 4);
        if (state_.sub) L.subRoom = std::max(L.subRoom, h / 4);
        int w = 0;
        if (draw && runIndex < runWidths_.size()) {
            w = runWidths_[runIndex++];
        } else {
            w = TextW(run);
            if (!draw) runWidths_.push_back(w);
        }
        // 5. fitting
        if (x > 0 && x + w > avail) {
            if (in_.WordWrap) {
                if (w <= avail && endsWithBlank) {
                    L.end = pos;
                    return false;
                }
            } else {
                // The line is never broken: the overflowing run is cut with an
                // ellipsis and the rest of the text is dropped.
                if (paint && x < avail) {
                    TRect r(originX + x, box.Top, originX + avail, baseBottom);
                    if (in_.RightToLeft) r = TRect(box.Right - avail, box.Top, box.Right - x, baseBottom);
                    c_->SetBkMode(plat::TRANSPARENT);
                    c_->DrawText(run, r, Flags() | plat::DT_END_ELLIPSIS);
                }
                if (!draw) out_.StripVal += run;
                x = std::max(x, std::min(avail, x + w));
                L.stop = true;
                L.end = n;
                return false;
            }
        }
        if (!draw) out_.StripVal += run;
        const int runLeft = in_.RightToLeft ? box.Right - x - w : originX + x;
        // 3. the point on the run inside a link
        if (state_.inLink && px >= originX + x && px < originX + x + w &&
            in_.YPos >= box.Top && in_.YPos < box.Top + std::max(L.height, measured ? measured->height : 0) + L.supRoom + L.subRoom) {
            if (draw) hit_ = true;
            linkHitThisLine_ = true;
            out_.AnchorVal = state_.href;
            out_.AnchorTitle = state_.title;
        }
        runWidthNow_ = w;
        if (paint) {
            int bottom = baseBottom;
            if (state_.sup) bottom -= measured->supRoom;
            if (state_.sub) bottom += measured->subRoom;
            TRect r(runLeft, box.Top - measured->supRoom - 4, runLeft + w, bottom);
            if (!in_.WordWrap && x + w > avail) r.Right = in_.RightToLeft ? r.Right : originX + avail;
            if (state_.textBack != plat::clNone) {
                c_->Brush()->SetColor(state_.textBack);
                c_->FillRect(TRect(runLeft, box.Top, runLeft + w, box.Bottom));
            }
            c_->SetBkMode(plat::TRANSPARENT);
            const unsigned f = Flags() | (in_.WordWrap ? 0u : plat::DT_END_ELLIPSIS);
            if (state_.shadow) {
                const TColor keep = c_->Font()->Color();
                c_->Font()->SetColor(in_.ShadowColor);
                TRect sr = r;
                sr.Left += in_.ShadowOffset;
                sr.Right += in_.ShadowOffset;
                sr.Top += in_.ShadowOffset;
                sr.Bottom += in_.ShadowOffset;
                PutRun(run, sr, f);
                c_->Font()->SetColor(keep);
            }
            PutRun(run, r, f);
            if (state_.error) {
                // A red zig-zag under the run in steps of 2 pixels.
                c_->Pen()->SetColor(0x0000FF);
                c_->Pen()->SetWidth(1);
                const int yb = bottom - 1;
                c_->MoveTo(runLeft, yb);
                bool up = true;
                for (int zx = runLeft + 2; zx <= runLeft + w; zx += 2, up = !up) c_->LineTo(zx, up ? yb - 2 : yb);
            }
        }
        if (state_.inLink && state_.links == in_.FocusLink + 1) out_.FocusAnchor = state_.href;
        x += w;
        endsWithBlank = !run.empty() && run.back() == u' ';
        lastBlankW = endsWithBlank ? BlankWidth() : 0;
    } else if (!draw) {
        // hidden text still belongs to the plain text
        out_.StripVal += run;
    }
    return true;
}

bool TRenderer::CloseTag(TPass& p, StringView name) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    const char16_t c0 = UpperAscii(name[0]);
    const char16_t c1 = name.size() > 1 ? UpperAscii(name[1]) : u'\0';
    const bool bare1 = name.size() == 1;
    bool lineEnd = false;
    switch (c0) {
    case u'A':
        if (!bare1) break;
        if (state_.inLink) {
            SetStyle(state_, plat::fsUnderline, false);
            state_.textBack = state_.linkSavedBack;
            if (!in_.Selected) SetColour(state_, startFont_.Color());
            if (linkHitThisLine_) {
                out_.MouseLink = state_.links;
                out_.HoverRect = TRect(originX + linkStartX, box.Top, originX + x, box.Top + (measured ? box.Height() : L.height));
            }
            if (paint && state_.links == in_.FocusLink + 1) {
                const int top = baseBottom - ghHeight_;
                c_->DrawFocusRect(TRect(originX + linkStartX - 1, top, originX + x + 1, baseBottom));
            }
            state_.inLink = false;
            linkHitThisLine_ = false;
        }
        break;
    case u'B':
        if (bare1) SetStyle(state_, plat::fsBold, false);
        else if (!in_.Selected) SetColour(state_, startFont_.Color());
        break;
    case u'E': state_.error = false; break;
    case u'F':
        if (c1 == u'O') {
            state_.font.SetName(startFont_.Name());
            state_.font.SetHeight(startFont_.Height());
            if (draw && !in_.Selected) {
                state_.font.SetColor(startFont_.Color());
                state_.textBack = state_.fontSavedBack;
            }
            ApplyFont(state_);
        }
        break;
    case u'H':
        if (state_.hiSavedColor != plat::clNone) {
            SetColour(state_, state_.hiSavedColor);
            state_.textBack = state_.hiSavedBack;
            state_.hiSavedColor = plat::clNone;
        }
        break;
    case u'I': SetStyle(state_, plat::fsItalic, false); break;
    case u'L': lineEnd = true; break;
    case u'P':
        state_.paraBack = plat::clNone;
        lineEnd = true;
        break;
    case u'R':
        if (bare1) {
            state_.font.SetOrientation(0);
            ApplyFont(state_);
        }
        break;
    case u'S':
        if (bare1) SetStyle(state_, plat::fsStrikeOut, false);
        else if (c1 == u'U') state_.sub = state_.sup = false;
        else if (c1 == u'H') state_.shadow = false;
        break;
    case u'U':
        if (bare1) SetStyle(state_, plat::fsUnderline, false);
        else if (c1 == u'L') {
            if (state_.listDepth < 1) SetStyle(state_, plat::fsUnderline, false);
            else --state_.listDepth;
        }
        break;
    case u'Z': state_.hidden = false; break;
    default: break;
    }
    return lineEnd;
}

TRenderer::TStep TRenderer::OpenTag(TPass& p, StringView tag, std::size_t pos) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    const char16_t c0 = UpperAscii(tag[0]);
    const char16_t c1 = tag.size() > 1 ? UpperAscii(tag[1]) : u'\0';
    const char16_t c2 = tag.size() > 2 ? UpperAscii(tag[2]) : u'\0';
    const bool bare1 = tag.size() == 1;
    const StringView name = tag;
    bool lineEnd = false;
    switch (c0) {
    case u'A':
        if (!(bare1 || name[1] == u' ')) break;
        ++state_.links;
        out_.HyperLinks = std::max(out_.HyperLinks, state_.links);
        state_.inLink = true;
        linkStartX = x;
        state_.href = Attr(tag, u"HREF");
        state_.title = Attr(tag, u"TITLE");
        state_.linkSavedBack = state_.textBack;
        if (draw && (!in_.HoverStyle || state_.links == in_.HoverLink)) {
            SetStyle(state_, plat::fsUnderline, true);
            if (in_.HoverStyle && in_.HoverColor != 0x1FFFFFFF) state_.textBack = in_.HoverColor;
            if (in_.HoverStyle && in_.HoverFontColor != 0x1FFFFFFF) SetColour(state_, in_.HoverFontColor);
        }
        if (!in_.Selected && !(draw && in_.HoverStyle && state_.links == in_.HoverLink && in_.HoverFontColor != 0x1FFFFFFF))
            SetColour(state_, in_.URLColor);
        break;
    case u'B':
        if (bare1) SetStyle(state_, plat::fsBold, true);
        else if (c1 == u'R') {
            lineEnd = true;
            if (!draw) out_.StripVal += u'\r';
        } else if (c1 == u'L') {
            if (!in_.BlinkOn) SetColour(state_, startBack_);
        } else if (c1 == u'O') {
            const String up = UpperAsciiText(tag);
            const TColor back = BodyColor(Attr(up, u"BGCOLOR"));
            if (paint && back != plat::clNone) {
                c_->Brush()->SetColor(back);
                c_->FillRect(area_);
            }
            const String bg = Attr(up, u"BACKGROUND");
            if (paint && !bg.empty())
                if (THTMLPicture* p = FindPicture(bg); p && !p->Empty() && p->Width() > 0 && p->Height() > 0) {
                    const int saved = c_->SaveDC();
                    c_->IntersectClipRect(area_.Left, area_.Top, area_.Right, area_.Bottom);
                    for (int ty = area_.Top; ty < area_.Bottom; ty += p->Height())
                        for (int tx = area_.Left; tx < area_.Right; tx += p->Width())
                            p->Draw(c_, TRect(tx, ty, tx + p->Width(), ty + p->Height()));
                    c_->RestoreDC(saved);
                }
            if (back != plat::clNone) state_.fontSavedBack = back;
        }
        break;
    case u'C':
        if (c1 == u'O' && c2 == u'N') return Control(p, tag, pos);
        break;
    case u'E':
        if (bare1 && draw) state_.error = true;
        break;
    case u'F':
        if (c1 == u'O') {
            const String up = UpperAsciiText(tag);
            String v;
            if (TagAttr(up, u"FACE", v) && !v.empty()) state_.font.SetName(v);
            if (TagAttr(up, u"SIZE", v)) {
                int s = 0;
                if (ToInt(v, s)) {
                    static constexpr int kSizes[] = {8, 10, 12, 14, 16};
                    if (s >= 1 && s <= 5) s = kSizes[s - 1];
                    state_.font.SetSize(std::clamp(s, kMinFontPoints, kMaxFontPoints));
                }
            }
            if (TagAttr(up, u"COLOR", v) && !in_.Selected) state_.font.SetColor(FontColor(v));
            if (TagAttr(up, u"BGCOLOR", v) && !in_.Selected && draw) {
                state_.fontSavedBack = state_.textBack;
                state_.textBack = FontColor(v);
            }
            ApplyFont(state_);
        }
        break;
    case u'H':
        if (c1 == u'I' && draw) {
            state_.hiSavedColor = state_.font.Color();
            state_.hiSavedBack = state_.textBack;
            SetColour(state_, gHighlightText);
            state_.textBack = gHighlightBack;
        } else if (c1 == u'R') {
            lineEnd = true;
            if (paint) {
                c_->Pen()->SetColor(plat::clBlack);
                c_->Pen()->SetWidth(1);
                c_->MoveTo(area_.Left, box.Bottom + 1);
                c_->LineTo(area_.Right, box.Bottom + 1);
            }
        }
        break;
    case u'I':
        if (bare1) SetStyle(state_, plat::fsItalic, true);
        else if (c1 == u'N') {
            int v = 0;
            if (ToInt(FirstQuoted(tag), v) && v > x && v < 0x3FFFFF) x = v;
        } else if (c1 == u'M') {
            return Image(p, tag, pos);
        }
        break;
    case u'L':
        if (c1 == u'I') return ListItem(p);
        break;
    case u'P':
        if (bare1 || name[1] == u' ') {
            const String up = UpperAsciiText(tag);
            const String al = Attr(up, u"ALIGN");
            if (al.find(u"RIGHT") != String::npos) L.align = laRight;
            else if (al.find(u"LEFT") != String::npos) L.align = laLeft;
            else if (al.find(u"CENTER") != String::npos) L.align = laCenter;
            int ind = 0;
            if (ToInt(Attr(up, u"INDENT"), ind)) L.indent = std::clamp(ind, 0, 0x3FFFFF);
            const String bg = Attr(up, u"BGCOLOR");
            if (!bg.empty()) {
                state_.paraBack = BodyColor(bg);
                if (!draw) L.paraBack = state_.paraBack;
            }
        }
        break;
    case u'R':
        if (bare1 || name[1] == u' ') {
            int deg = 0;
            if (ToInt(FirstQuoted(tag), deg)) {
                state_.font.SetOrientation((deg % 360) * 10);
                ApplyFont(state_);
            }
        }
        break;
    case u'S':
        if (bare1) SetStyle(state_, plat::fsStrikeOut, true);
        else if (c1 == u'H') state_.shadow = true;
        else if (c1 == u'U' && c2 == u'B') state_.sub = true;
        else if (c1 == u'U' && c2 == u'P') state_.sup = true;
        break;
    case u'U':
        if (bare1) SetStyle(state_, plat::fsUnderline, true);
        else if (c1 == u'L') {
            ++state_.listDepth;
            lineEnd = true;
        }
        break;
    case u'Z':
        if (bare1) state_.hidden = true;
        break;
    default: break;
    }
    return lineEnd ? stLineEnd : stContinue;
}

TRenderer::TStep TRenderer::Control(TPass& p, StringView tag, std::size_t pos) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    (void)pos;
    const String wv = Attr(tag, u"WIDTH");
    int cw = 0;
    if (wv.empty() || !ToInt(wv, cw) || cw <= 0) return stContinue;
    cw = std::min(cw, 0x3FFFFF);
    int ch = 25;
    if (!ToInt(Attr(tag, u"HEIGHT"), ch)) ch = 25;
    const String type = UpperAsciiText(Attr(tag, u"TYPE"));
    const String id = Attr(tag, u"ID");
    const String value = UnescapeMarkupText(Attr(tag, u"VALUE"), true);
    const bool small = type == u"CHECK" || type == u"RADIO";
    int lh = small ? 16 : 23;
    if (ch > 25) lh = std::min(ch, 0x3FFFFF) - 2;
    if (x > 0 && x + cw > avail && cw <= avail) {
        return stBreakBefore;
    }
    L.height = std::max(L.height, lh);
    const int ex = in_.RightToLeft ? box.Right - x - cw : originX + x;
    const int bottom = draw ? box.Bottom : box.Top + L.height;
    TRect elem(ex, bottom - (small ? 16 : 25), ex + (small ? 16 : cw), bottom);
    if (paint) {
        const TColor frame = 0x808080;
        const int boxTop = bottom - L.height + 4;
        const bool hot = PtIn(elem, in_.XPos, in_.YPos);
        if (type == u"EDIT" || type == u"PASSWORD" || type == u"MASK" || type == u"COMBO") {
            TRect b(ex, boxTop, ex + cw, bottom + 2);
            c_->Brush()->SetColor(plat::clWhite);
            c_->Pen()->SetColor(frame);
            c_->Rectangle(b);
            String shown = value;
            if (type == u"PASSWORD") shown.assign(value.size(), u'*');
            TRect tr(b.Left + (type == u"COMBO" ? 4 : 2), b.Top + 1, b.Right - (type == u"COMBO" ? 20 : 2), b.Bottom - 1);
            c_->SetBkMode(plat::TRANSPARENT);
            c_->DrawText(shown, tr, plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_NOPREFIX);
            if (type == u"COMBO") {
                const TRect btn(b.Right - 19, b.Top + 1, b.Right - 1, b.Bottom - 1);
                plat::DrawFrameControl(c_, btn, plat::DFC_SCROLL, plat::DFCS_SCROLLCOMBOBOX | (hot ? plat::DFCS_HOT : 0u));
            }
        } else if (type == u"CHECK" || type == u"RADIO") {
            const bool on = UpperAsciiText(value) == u"TRUE";
            const TRect g = type == u"CHECK" ? TRect(ex, bottom - 15, ex + 13, bottom - 2)
                                              : TRect(ex, bottom - 14, ex + 12, bottom - 2);
            plat::DrawFrameControl(c_, g, plat::DFC_BUTTON,
                                   (type == u"CHECK" ? plat::DFCS_BUTTONCHECK : plat::DFCS_BUTTONRADIO) |
                                       plat::DFCS_FLAT | (on ? plat::DFCS_CHECKED : 0u));
        } else if (type == u"BUTTON") {
            const TRect b(ex + 2, bottom - std::min(ch, 0x3FFFFF), ex + cw - 2, bottom);
            plat::DrawFrameControl(c_, b, plat::DFC_BUTTON,
                                   plat::DFCS_BUTTONPUSH | (in_.Down && hot ? plat::DFCS_PUSHED : 0u) |
                                       (hot ? plat::DFCS_HOT : 0u));
            TRect tr = b;
            c_->SetBkMode(plat::TRANSPARENT);
            c_->DrawText(value, tr, plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_CENTER | plat::DT_NOPREFIX);
        }
    }
    if (PtIn(elem, in_.XPos, in_.YPos) || (in_.FindControl && id == in_.ControlID)) {
        if (draw || controlMode_) hit_ = true;
        out_.AnchorVal = u"ctrl";
        out_.ControlRect = elem;
        out_.ControlID = id;
        out_.ControlValue = value;
        out_.ControlType = type;
    }
    x += cw;
    endsWithBlank = false;
    return stContinue;
}

TRenderer::TStep TRenderer::Image(TPass& p, StringView tag, std::size_t pos) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    (void)pos;
    const int number = state_.images++;
    if (!draw && static_cast<int>(imageHover_.size()) <= number) imageHover_.resize(static_cast<std::size_t>(number) + 1, false);
    String src = Attr(tag, u"SRC");
    const String alt = Attr(tag, u"ALT");
    if (draw && number < static_cast<int>(imageHover_.size()) && imageHover_[static_cast<std::size_t>(number)] && !alt.empty())
        src = alt;
    int iw = 0, ih = 0;
    const bool hasW = ToInt(Attr(tag, u"WIDTH"), iw) && iw > 0;
    const bool hasH = ToInt(Attr(tag, u"HEIGHT"), ih) && ih > 0;
    iw = std::min(iw, 0x3FFFFF);
    ih = std::min(ih, 0x3FFFFF);
    const String usrc = UpperAsciiText(src);
    int ew = 0, eh = 0;
    int listIndex = -1;
    THTMLPicture* pic = nullptr;
    if (usrc.rfind(u"IDX:", 0) == 0) {
        int k = -1;
        if (in_.Images && ToInt(usrc.substr(4), k) && k >= 0 && k < in_.Images->Count()) {
            listIndex = k;
            const double f = in_.Print ? in_.ResFactor : 1.0;
            ew = static_cast<int>(std::lround(in_.Images->Width() * f));
            eh = static_cast<int>(std::lround(in_.Images->Height() * f));
        }
    } else if (usrc.rfind(u"SSYS:", 0) == 0 || usrc.rfind(u"LSYS:", 0) == 0) {
        // No shell icon service: nothing.
    } else if ((pic = FindPicture(src)) && !pic->Empty() && pic->GetMaxWidth() > 0 && pic->GetMaxHeight() > 0) {
        const int pw = pic->GetMaxWidth(), ph = pic->GetMaxHeight();
        if (hasW && hasH) {
            ew = iw;
            eh = ih;
        } else if (hasW) {
            ew = iw;
            eh = static_cast<int>(std::lround(static_cast<double>(iw) * ph / pw));
        } else if (hasH) {
            eh = ih;
            ew = static_cast<int>(std::lround(static_cast<double>(ih) * pw / ph));
        } else {
            ew = pw;
            eh = ph;
        }
    } else {
        pic = nullptr;
    }
    if (ew <= 0 || eh <= 0) return stContinue;
    if (x > 0 && x + ew > avail && ew <= avail) {
        state_.images--;
        return stBreakBefore;
    }
    L.height = std::max(L.height, eh);
    const String align = UpperAsciiText(Attr(tag, u"ALIGN"));
    if (align.rfind(u"TOP", 0) == 0) L.baselineUp = std::max(L.baselineUp, L.height - ghHeight_);
    else if (align.rfind(u"MIDDLE", 0) == 0) L.baselineUp = std::max(L.baselineUp, (L.height - ghHeight_) / 2);
    const int ix = in_.RightToLeft ? box.Right - x - ew : originX + x;
    const int ibottom = draw ? box.Bottom - measured->subRoom : box.Top + L.height;
    const TRect ir(ix, ibottom - eh, ix + ew, ibottom);
    if (PtIn(ir, in_.XPos, in_.YPos)) {
        if (!draw && number < static_cast<int>(imageHover_.size())) imageHover_[static_cast<std::size_t>(number)] = true;
        if (state_.inLink) {
            if (draw) hit_ = true;
            linkHitThisLine_ = true;
            out_.AnchorVal = state_.href;
            out_.AnchorTitle = state_.title;
        }
    }
    if (paint) {
        if (listIndex >= 0) {
            if (in_.Print && in_.ResFactor != 1.0) {
                plat::TBitmap tmp(in_.Images->Width(), in_.Images->Height());
                in_.Images->GetBitmap(listIndex, &tmp);
                c_->StretchDraw(ir, &tmp);
            } else {
                in_.Images->Draw(c_, ir.Left, ir.Top, listIndex);
            }
        } else if (pic) {
            const bool sized = hasW || hasH;
            if (sized) {
                const bool keep = pic->Stretch;
                pic->Stretch = true;
                pic->Draw(c_, ir);
                pic->Stretch = keep;
            } else if (pic->FrameCount() > 1) {
                c_->Brush()->SetColor(startBack_);
                c_->FillRect(ir);
                const bool keep = pic->Stretch;
                pic->Stretch = false;
                pic->Draw(c_, TRect(ir.Left + pic->FrameXPos(), ir.Top + pic->FrameYPos(), ir.Right, ir.Bottom));
                pic->Stretch = keep;
            } else {
                const bool keep = pic->Stretch;
                pic->Stretch = false;
                pic->Draw(c_, ir);
                pic->Stretch = keep;
            }
        }
    }
    x += ew;
    endsWithBlank = false;
    return stContinue;
}

TRenderer::TStep TRenderer::ListItem(TPass& p) {
    auto& [draw, paint, box, measured, L, runIndex, avail, x, lastBlankW, endsWithBlank, hadLi, linkStartX, baseBottom, originX, px] = p;
    if (hadLi) {
        return stBreakBefore;
    }
    hadLi = true;
    const int depth = std::clamp(state_.listDepth, 0, 1000);
    x = std::max(x, 12 * depth - 12);
    if (paint) {
        // The bullet is the character itself in the run's font: the stand-in
        // for the "Symbol" face maps its code points to other glyphs.
        TRect br(originX + x, box.Top - 4, originX + x + 12, baseBottom);
        c_->SetBkMode(plat::TRANSPARENT);
        c_->DrawText(depth % 2 == 1 ? StringView(u"\u2022") : StringView(u"o"), br,
                     plat::DT_SINGLELINE | plat::DT_BOTTOM | plat::DT_NOPREFIX);
    }
    x += 12;
    endsWithBlank = false;
    return stContinue;
}

bool TRenderer::Run() {
    TCanvas& c = *c_;
    // The caller's state, restored on return.
    plat::TFont savedFont;
    savedFont.Assign(*c.Font());
    const TColor savedPen = c.Pen()->Color();
    const int savedPenWidth = c.Pen()->Width();
    const TColor savedBrush = c.Brush()->Color();
    const plat::TBrushStyle savedBrushStyle = c.Brush()->Style();
    startFont_.Assign(savedFont);
    startBack_ = savedBrush;
    state_.font.Assign(savedFont);

    text_ = PrepareText(in_.Text);
    area_ = in_.Rect;
    area_.Left += 1;
    ghHeight_ = c.TextHeight(u"gh");
    controlMode_ = in_.FindControl;
    const bool secondPass = !in_.MeasureOnly;

    out_.StripVal.clear();
    out_.XSize = 0;
    out_.YSize = 0;
    out_.HyperLinks = 0;
    out_.MouseLink = -1;
    if (!in_.FindControl) out_.ControlID.clear();

    int top = area_.Top;
    std::size_t pos = 0;
    int guard = 0;
    while (pos < text_.size()) {
        const TState start = state_;
        TLine m = Line(pos, false, TRect(area_.Left, top, area_.Right, top + ghHeight_), nullptr);
        if (m.end <= pos && !m.stop) m.end = text_.find(u'>', pos) == String::npos ? text_.size() : text_.find(u'>', pos) + 1;
        TRect box(area_.Left, top, area_.Right, top + m.height + m.supRoom + m.subRoom);
        if (m.align == laRight && area_.Right - m.width > area_.Left) box.Left = area_.Right - m.width;
        else if (m.align == laCenter && (area_.Width() - m.width) / 2 > 0) box.Left = area_.Left + (area_.Width() - m.width) / 2;
        box.Left += m.indent;
        out_.XSize = std::max(out_.XSize, m.width);
        if (secondPass) {
            // Placed in the line's own box: painted, or only hit-tested with FindControl.
            const TState after = state_;
            state_ = start;
            ApplyFont(state_);
            Line(pos, true, box, &m);
            state_ = after;
            ApplyFont(state_);
        }
        top += box.Height();
        out_.YSize += box.Height();
        pos = m.end;
        if (m.stop) break;
        if (!in_.MeasureOnly && top + ghHeight_ > in_.Rect.Bottom) break;
        if (++guard > 1000000) break;
    }
    out_.YSize = std::max(out_.YSize, ghHeight_);

    c.Font()->Assign(savedFont);
    c.Pen()->SetColor(savedPen);
    c.Pen()->SetWidth(savedPenWidth);
    c.Brush()->SetColor(savedBrush);
    c.Brush()->SetStyle(savedBrushStyle);
    c.SetBkMode(plat::TRANSPARENT);
    return hit_;
}

} // namespace

void SetMarkupHighlightColors(TColor Background, TColor Text) {
    gHighlightBack = Background;
    gHighlightText = Text;
}

TColor MarkupHighlightColor() { return gHighlightBack; }
TColor MarkupHighlightTextColor() { return gHighlightText; }

bool DrawMarkupText(const TMarkupDrawInput& In, TMarkupDrawResult& Out) {
    if (!In.Canvas) return false;
    TRenderer r(In, Out);
    return r.Run();
}

} // namespace grid
