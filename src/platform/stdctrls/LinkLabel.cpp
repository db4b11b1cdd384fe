#include "plat/ExtCtrls.h"

#include "StdCommon.h"

namespace plat {

using namespace std_detail;

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithNoCase(StringView s, size_t at, StringView what)
{
    if (at + what.size() > s.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (Lower(s[at + i]) != Lower(what[i]))
            return false;
    return true;
}

// Value of href in an opening tag's attribute text, quoted with " or '.
bool FindHref(StringView attrs, String& href)
{
    for (size_t i = 0; i + 4 <= attrs.size(); ++i) {
        if (!StartsWithNoCase(attrs, i, u"href"))
            continue;
        size_t j = i + 4;
        while (j < attrs.size() && attrs[j] == u' ')
            ++j;
        if (j >= attrs.size() || attrs[j] != u'=')
            continue;
        ++j;
        while (j < attrs.size() && attrs[j] == u' ')
            ++j;
        if (j >= attrs.size())
            return false;
        const char16_t quote = attrs[j];
        if (quote == u'"' || quote == u'\'') {
            const size_t end = attrs.find(quote, j + 1);
            href = String(attrs.substr(j + 1, end == StringView::npos ? StringView::npos : end - j - 1));
        } else {
            size_t end = j;
            while (end < attrs.size() && attrs[end] != u' ')
                ++end;
            href = String(attrs.substr(j, end - j));
        }
        return true;
    }
    return false;
}

} // namespace

std::vector<TLinkLabel::Segment> ParseLinkMarkup(StringView Caption)
{
    std::vector<TLinkLabel::Segment> parts;
    String plain;
    size_t i = 0;
    auto flushPlain = [&]() {
        if (!plain.empty()) {
            TLinkLabel::Segment p;
            p.text = plain;
            parts.push_back(p);
            plain.clear();
        }
    };
    while (i < Caption.size()) {
        const bool open = StartsWithNoCase(Caption, i, u"<a") && i + 2 < Caption.size() &&
                          (Caption[i + 2] == u'>' || Caption[i + 2] == u' ');
        if (open) {
            const size_t gt = Caption.find(u'>', i);
            const size_t close = gt == StringView::npos ? StringView::npos : [&]() {
                for (size_t k = gt + 1; k + 4 <= Caption.size(); ++k)
                    if (StartsWithNoCase(Caption, k, u"</a>"))
                        return k;
                return StringView::npos;
            }();
            if (gt != StringView::npos && close != StringView::npos) {
                flushPlain();
                TLinkLabel::Segment p;
                p.isLink = true;
                p.text = String(Caption.substr(gt + 1, close - gt - 1));
                p.hasHref = FindHref(Caption.substr(i + 2, gt - i - 2), p.link);
                if (!p.hasHref)
                    p.link = p.text;
                parts.push_back(p);
                i = close + 4;
                continue;
            }
        }
        plain += Caption[i];
        ++i;
    }
    flushPlain();
    return parts;
}

TLinkLabel::TLinkLabel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 53, 17);
}

void TLinkLabel::SetAutoSize(bool Value)
{
    autoSize_ = Value;
    Measure();
}

String TLinkLabel::PlainText() const
{
    String s;
    for (const Segment& p : ParseLinkMarkup(Caption()))
        s += p.text;
    return s;
}

void TLinkLabel::Parse()
{
    parts_ = ParseLinkMarkup(Caption());
    Measure();
}

void TLinkLabel::Measure()
{
    TCanvas* c = MeasureCanvas(Font());
    int x = 0;
    for (Segment& p : parts_) {
        p.left = x;
        p.width = c->TextWidth(p.text);
        x += p.width;
    }
    if (autoSize_)
        SetBounds(Left(), Top(), std::max(x, 1), c->TextHeight(u"Wg") + 2);
    Invalidate();
}

bool TLinkLabel::LinkAt(TPoint P, String& Link, TSysLinkType& Type) const
{
    for (const Segment& p : parts_) {
        if (p.isLink && P.X >= p.left && P.X < p.left + p.width && P.Y >= 0 && P.Y < Height()) {
            Link = p.link;
            Type = p.hasHref ? sltURL : sltID;
            return true;
        }
    }
    return false;
}

void TLinkLabel::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Brush()->SetStyle(bsClear);
    for (const Segment& p : parts_) {
        c->SetFont(Font());
        if (!Enabled()) {
            c->Font()->SetColor(clGrayText);
        } else if (p.isLink) {
            c->Font()->SetColor(clHotLight);
            c->Font()->SetStyle(c->Font()->Style() + fsUnderline);
        }
        c->TextOut(p.left, 1, p.text);
    }
}

void TLinkLabel::MouseMove(TShiftState Shift, int X, int Y)
{
    String link;
    TSysLinkType type;
    const bool over = LinkAt({X, Y}, link, type);
    SetCursor(over ? crHandPoint : crDefault);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TLinkLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    String link;
    TSysLinkType type;
    if (Button == mbLeft && Enabled() && LinkAt({X, Y}, link, type) && OnLinkClick)
        OnLinkClick(this, link, type);
}

void TLinkLabel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TCustomControl::WndProc(Message);
        Parse();
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
