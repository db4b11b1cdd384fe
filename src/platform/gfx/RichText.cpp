// Rich text reading and rendering (see plat/RichText.h).
#include "plat/RichText.h"

#include <algorithm>
#include <map>
#include <string>

namespace plat {

namespace {

constexpr char16_t kLineSep = u'\u2028';
constexpr int kMaxDepth = 512;
constexpr int kMaxWordLength = 32;
constexpr int kMaxIndent = 31680;  // 22 inches in twips

const char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t ByteToChar(unsigned char b, bool cyrillic) {
    if (b < 0x80) return b;
    if (cyrillic) return b >= 0xC0 ? static_cast<char16_t>(0x0410 + (b - 0xC0)) : kCp1251High[b - 0x80];
    const char c = static_cast<char>(b);
    return AnsiToString(std::string_view(&c, 1))[0];
}

enum TDest { dText, dFontTable, dColorTable, dSkip };

struct TFontEntry {
    String Name;
    TFontCharset Charset = 0;
};

struct TGroupState {
    TDest Dest = dText;
    int Font = -1;  // -1: the default font
    int Size = 12;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int Color = 0;  // index into the colour table; 0 = automatic
    int Uc = 1;
    TRichAlignment Align = raLeft;
    int Li = 0, Ri = 0, Fi = 0;
    void PlainChar() {
        Font = -1;
        Size = 12;
        Bold = Italic = Underline = StrikeOut = false;
        Color = 0;
    }
    void PlainPara() {
        Align = raLeft;
        Li = Ri = Fi = 0;
    }
};

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

class TReader {
public:
    TReader(StringView text, std::vector<TRichParagraph>& out) : s_(text), out_(out) {}

    bool Run() {
        std::vector<TGroupState> stack;
        TGroupState st;
        std::size_t i = 0;
        // Skip to the first brace.
        while (i < s_.size() && s_[i] != u'{') ++i;
        int skipChars = 0;  // fallback characters after \uN still to drop
        while (i < s_.size()) {
            const char16_t c = s_[i];
            if (c == u'{') {
                if (static_cast<int>(stack.size()) >= kMaxDepth) break;
                stack.push_back(st);
                ++i;
                continue;
            }
            if (c == u'}') {
                ++i;
                if (st.Dest == dFontTable) EndFontName();
                if (stack.empty()) break;
                if (stack.size() == 1) {
                    // The document's end: its last paragraph takes the properties in force.
                    Finish(st);
                    return true;
                }
                st = stack.back();
                stack.pop_back();
                continue;
            }
            if (c == u'\\') {
                if (i + 1 >= s_.size()) break;
                const char16_t n = s_[i + 1];
                if (IsAsciiLetter(n)) {
                    std::size_t j = i + 1;
                    std::string word;
                    while (j < s_.size() && IsAsciiLetter(s_[j])) {
                        if (word.size() < kMaxWordLength) word.push_back(static_cast<char>(s_[j]));
                        ++j;
                    }
                    bool hasParam = false, neg = false;
                    long long param = 0;
                    if (j < s_.size() && s_[j] == u'-' && j + 1 < s_.size() && IsDigit(s_[j + 1])) {
                        neg = true;
                        ++j;
                    }
                    while (j < s_.size() && IsDigit(s_[j])) {
                        hasParam = true;
                        if (param < 1000000000LL) param = param * 10 + (s_[j] - u'0');
                        ++j;
                    }
                    if (j < s_.size() && s_[j] == u' ') ++j;
                    i = j;
                    param = std::min(param, 2147483647LL);
                    const int p = static_cast<int>(neg ? -param : param);
                    if (word == "bin") {
                        // Binary data of p bytes: never text.
                        i += static_cast<std::size_t>(std::max(0, p));
                        continue;
                    }
                    if (skipChars > 0 && word != "u") {
                        --skipChars;
                        continue;
                    }
                    ControlWord(word, hasParam, p, st, skipChars);
                    continue;
                }
                i += 2;
                if (n == u'\'') {
                    int v = -1;
                    if (i + 1 < s_.size() && HexValue(s_[i]) >= 0 && HexValue(s_[i + 1]) >= 0) {
                        v = HexValue(s_[i]) * 16 + HexValue(s_[i + 1]);
                        i += 2;
                    } else if (i < s_.size() && HexValue(s_[i]) >= 0) {
                        ++i;  // a cut escape: its one digit is no text
                    }
                    if (skipChars > 0) {
                        --skipChars;
                        continue;
                    }
                    if (v >= 0) Char(ByteToChar(static_cast<unsigned char>(v), Cyrillic(st)), st);
                    continue;
                }
                if (skipChars > 0) {
                    --skipChars;
                    continue;
                }
                switch (n) {
                case u'\\': case u'{': case u'}': Char(n, st); break;
                case u'~': Char(u'\u00A0', st); break;
                case u'_': Char(u'\u2011', st); break;
                case u'*':
                    // An ignorable destination: skipped unless this reader knows it.
                    if (st.Dest == dText) st.Dest = dSkip;
                    break;
                case u'\r': case u'\n': NewParagraph(st); break;
                default: break;
                }
                continue;
            }
            ++i;
            if (c == u'\r' || c == u'\n') continue;
            if (skipChars > 0) {
                --skipChars;
                continue;
            }
            if (c < 0x20 && c != u'\t') continue;
            if (c == u';' && st.Dest == dColorTable) {
                colors_.push_back(pendingColor_ ? static_cast<TColor>(r_ | (g_ << 8) | (b_ << 16)) : clDefault);
                pendingColor_ = false;
                r_ = g_ = b_ = 0;
                continue;
            }
            if (st.Dest == dFontTable) {
                if (c == u';') EndFontName();
                else if (curFont_ >= 0 && fontName_.size() < 256) fontName_.push_back(c);
                continue;
            }
            Char(c, st);
        }
        Finish(st);
        return false;
    }

private:
    bool Cyrillic(const TGroupState& st) const {
        const auto f = fonts_.find(st.Font < 0 ? deff_ : st.Font);
        if (f != fonts_.end() && f->second.Charset != 0 && f->second.Charset != 1) return f->second.Charset == 204;
        return cpg_ == 1251;
    }

    void EndFontName() {
        if (curFont_ >= 0 && !fontName_.empty()) {
            auto& e = fonts_[curFont_];
            const auto a = fontName_.find_first_not_of(u' ');
            const auto b = fontName_.find_last_not_of(u' ');
            e.Name = a == String::npos ? String() : fontName_.substr(a, b - a + 1);
        }
        fontName_.clear();
    }

    void ControlWord(const std::string& w, bool has, int p, TGroupState& st, int& skipChars) {
        auto on = [&] { return !has || p != 0; };
        if (st.Dest == dFontTable) {
            if (w == "f") {
                EndFontName();
                curFont_ = std::max(0, p);
                fonts_[curFont_];
            } else if (w == "fcharset" && curFont_ >= 0) {
                fonts_[curFont_].Charset = static_cast<TFontCharset>(std::clamp(p, 0, 255));
            } else if (w == "u") {
                if (curFont_ >= 0 && fontName_.size() < 256) fontName_.push_back(static_cast<char16_t>(p < 0 ? p + 65536 : p));
                skipChars = st.Uc;
            }
            return;
        }
        if (st.Dest == dColorTable) {
            if (w == "red") r_ = std::clamp(p, 0, 255), pendingColor_ = true;
            else if (w == "green") g_ = std::clamp(p, 0, 255), pendingColor_ = true;
            else if (w == "blue") b_ = std::clamp(p, 0, 255), pendingColor_ = true;
            return;
        }
        if (st.Dest == dSkip) return;
        if (w == "fonttbl") st.Dest = dFontTable, curFont_ = -1;
        else if (w == "colortbl") st.Dest = dColorTable;
        else if (w == "info" || w == "stylesheet" || w == "pict" || w == "header" || w == "footer" ||
                 w == "headerl" || w == "headerr" || w == "headerf" || w == "footerl" || w == "footerr" ||
                 w == "footerf" || w == "object" || w == "fldinst" || w == "listtable" ||
                 w == "listoverridetable" || w == "revtbl" || w == "footnote" || w == "xe" || w == "tc")
            st.Dest = dSkip;
        else if (w == "ansicpg") cpg_ = p;
        else if (w == "deff") deff_ = std::max(0, p);
        else if (w == "f") st.Font = std::max(0, p);
        else if (w == "fs") st.Size = std::clamp(has ? (std::clamp(p, 0, 800) + 1) / 2 : 12, 1, 400);
        else if (w == "b") st.Bold = on();
        else if (w == "i") st.Italic = on();
        else if (w == "ul") st.Underline = on();
        else if (w == "ulnone") st.Underline = false;
        else if (w == "strike") st.StrikeOut = on();
        else if (w == "cf") st.Color = std::max(0, p);
        else if (w == "plain") st.PlainChar();
        else if (w == "pard") st.PlainPara();
        else if (w == "ql") st.Align = raLeft;
        else if (w == "qr") st.Align = raRight;
        else if (w == "qc") st.Align = raCenter;
        else if (w == "qj") st.Align = raJustify;
        else if (w == "li") st.Li = std::clamp(p, -kMaxIndent, kMaxIndent);
        else if (w == "ri") st.Ri = std::clamp(p, -kMaxIndent, kMaxIndent);
        else if (w == "fi") st.Fi = std::clamp(p, -kMaxIndent, kMaxIndent);
        else if (w == "uc") st.Uc = std::clamp(p, 0, 16);
        else if (w == "u") {
            Char(static_cast<char16_t>(p < 0 ? p + 65536 : p), st);
            skipChars = st.Uc;
        } else if (w == "par") NewParagraph(st);
        else if (w == "line") Char(kLineSep, st);
        else if (w == "tab") Char(u'\t', st);
        else if (w == "emdash") Char(u'\u2014', st);
        else if (w == "endash") Char(u'\u2013', st);
        else if (w == "bullet") Char(u'\u2022', st);
        else if (w == "lquote") Char(u'\u2018', st);
        else if (w == "rquote") Char(u'\u2019', st);
        else if (w == "ldblquote") Char(u'\u201C', st);
        else if (w == "rdblquote") Char(u'\u201D', st);
    }

    TRichCharFormat Format(const TGroupState& st) const {
        TRichCharFormat f;
        const auto e = fonts_.find(st.Font < 0 ? deff_ : st.Font);
        if (e == fonts_.end() && !fonts_.empty() && st.Font >= 0) {
            const auto d = fonts_.find(deff_);
            if (d != fonts_.end() && !d->second.Name.empty()) f.FontName = d->second.Name, f.Charset = d->second.Charset;
        } else if (e != fonts_.end()) {
            if (!e->second.Name.empty()) f.FontName = e->second.Name;
            f.Charset = e->second.Charset;
        }
        f.Size = st.Size;
        f.Bold = st.Bold;
        f.Italic = st.Italic;
        f.Underline = st.Underline;
        f.StrikeOut = st.StrikeOut;
        f.Color = st.Color > 0 && st.Color < static_cast<int>(colors_.size()) ? colors_[st.Color] : clDefault;
        return f;
    }

    void Char(char16_t c, const TGroupState& st) {
        if (st.Dest != dText) return;
        if (c == u'\uFFFF' || c == u'\uFFFE') return;
        const TRichCharFormat f = Format(st);
        auto& runs = para_.Runs;
        if (runs.empty() || !(runs.back().Format == f)) runs.push_back({String(), f});
        runs.back().Text.push_back(c);
    }

    void ApplyPara(const TGroupState& st) {
        para_.Alignment = st.Align;
        para_.LeftIndent = st.Li;
        para_.RightIndent = st.Ri;
        para_.FirstIndent = st.Fi;
    }

    void NewParagraph(const TGroupState& st) {
        if (st.Dest != dText) return;
        ApplyPara(st);
        if (para_.Runs.empty()) para_.Runs.push_back({String(), Format(st)});
        out_.push_back(std::move(para_));
        para_ = {};
    }

    void Finish(const TGroupState& st) {
        ApplyPara(st);
        // An empty document holds one empty run in the format in force, as plain text does.
        if (out_.empty() && para_.Runs.empty()) para_.Runs.push_back({String(), Format(st)});
        if (!para_.Runs.empty() || out_.empty()) out_.push_back(std::move(para_));
    }

    StringView s_;
    std::vector<TRichParagraph>& out_;
    TRichParagraph para_;
    std::map<int, TFontEntry> fonts_;
    int curFont_ = -1;
    String fontName_;
    std::vector<TColor> colors_;
    bool pendingColor_ = false;
    int r_ = 0, g_ = 0, b_ = 0;
    int cpg_ = 1252;
    int deff_ = 0;
};

bool LooksLikeRtf(StringView t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == u' ' || t[i] == u'\t' || t[i] == u'\r' || t[i] == u'\n')) ++i;
    return t.substr(i, 5) == u"{\\rtf";
}

} // namespace

bool TRichDocument::Load(StringView Text) {
    paragraphs_.clear();
    if (!LooksLikeRtf(Text)) {
        TRichCharFormat f;
        SetPlainText(Text, f);
        return true;
    }
    TReader reader(Text, paragraphs_);
    return reader.Run();
}

void TRichDocument::SetPlainText(StringView Text, const TRichCharFormat& Format) {
    paragraphs_.clear();
    TRichParagraph p;
    p.Runs.push_back({String(), Format});
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t c = Text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') ++i;
            paragraphs_.push_back(std::move(p));
            p = {};
            p.Runs.push_back({String(), Format});
            continue;
        }
        p.Runs.back().Text.push_back(c);
    }
    paragraphs_.push_back(std::move(p));
}

String TRichDocument::PlainText() const {
    String out;
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
        if (i > 0) out += u"\r\n";
        for (const auto& r : paragraphs_[i].Runs)
            for (char16_t c : r.Text) {
                if (c == kLineSep) out += u"\r\n";
                else out.push_back(c);
            }
    }
    return out;
}

namespace {

void AppendAscii(String& out, const char* s) {
    while (*s) out.push_back(static_cast<char16_t>(*s++));
}

void AppendInt(String& out, long long v) { AppendAscii(out, std::to_string(v).c_str()); }

// One character of text or of a font name, escaped so that the reader takes it back as it is.
void AppendEscaped(String& out, char16_t c) {
    if (c == u'\\' || c == u'{' || c == u'}') {
        out.push_back(u'\\');
        out.push_back(c);
    } else if (c >= 0x20 && c < 0x7F) {
        out.push_back(c);
    } else {
        // \u takes a signed 16-bit number; one '?' follows for readers that skip \uc1 characters.
        AppendAscii(out, "\\u");
        AppendInt(out, c > 0x7FFF ? static_cast<long long>(c) - 65536 : static_cast<long long>(c));
        out.push_back(u'?');
    }
}

struct FontKey {
    String Name;
    TFontCharset Charset;
    bool operator<(const FontKey& o) const { return Name != o.Name ? Name < o.Name : Charset < o.Charset; }
};

} // namespace

String TRichDocument::SaveRichText() const {
    // Tables first: fonts in order of first use, colours likewise (index 0: the automatic colour).
    std::vector<FontKey> fonts;
    std::map<FontKey, int> fontIndex;
    std::vector<TColor> colors;
    std::map<TColor, int> colorIndex;
    auto fontOf = [&](const TRichCharFormat& f) {
        FontKey k{f.FontName, f.Charset};
        k.Name.erase(std::remove(k.Name.begin(), k.Name.end(), u';'), k.Name.end());
        const auto it = fontIndex.find(k);
        if (it != fontIndex.end()) return it->second;
        const int i = static_cast<int>(fonts.size());
        fonts.push_back(k);
        fontIndex.emplace(k, i);
        return i;
    };
    auto colorOf = [&](TColor c) {
        if (c == clDefault || c == clNone) return 0;
        const TColor rgb = ColorToRGB(c) & 0xFFFFFF;
        const auto it = colorIndex.find(rgb);
        if (it != colorIndex.end()) return it->second;
        colors.push_back(rgb);
        const int i = static_cast<int>(colors.size());
        colorIndex.emplace(rgb, i);
        return i;
    };
    if (paragraphs_.empty()) fontOf(TRichCharFormat{});
    for (const auto& p : paragraphs_)
        for (const auto& r : p.Runs) {
            fontOf(r.Format);
            colorOf(r.Format.Color);
        }
    if (fonts.empty()) fontOf(TRichCharFormat{});

    String out;
    AppendAscii(out, "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        AppendAscii(out, "{\\f");
        AppendInt(out, static_cast<long long>(i));
        AppendAscii(out, "\\fcharset");
        AppendInt(out, fonts[i].Charset);
        out.push_back(u' ');
        for (char16_t c : fonts[i].Name) AppendEscaped(out, c);
        AppendAscii(out, ";}");
    }
    AppendAscii(out, "}{\\colortbl ;");
    for (TColor c : colors) {
        AppendAscii(out, "\\red");
        AppendInt(out, c & 0xFF);
        AppendAscii(out, "\\green");
        AppendInt(out, (c >> 8) & 0xFF);
        AppendAscii(out, "\\blue");
        AppendInt(out, (c >> 16) & 0xFF);
        out.push_back(u';');
    }
    AppendAscii(out, "}\r\n");
    for (std::size_t pi = 0; pi < paragraphs_.size(); ++pi) {
        const TRichParagraph& p = paragraphs_[pi];
        if (pi > 0) AppendAscii(out, "\\par\r\n");
        AppendAscii(out, "\\pard");
        static const char* const kAlign[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        AppendAscii(out, kAlign[std::clamp(static_cast<int>(p.Alignment), 0, 3)]);
        const std::pair<const char*, int> indents[] = {
            {"\\li", p.LeftIndent}, {"\\ri", p.RightIndent}, {"\\fi", p.FirstIndent}};
        for (const auto& [word, v] : indents)
            if (v != 0) {
                AppendAscii(out, word);
                AppendInt(out, std::clamp(v, -kMaxIndent, kMaxIndent));
            }
        for (const TRichRun& r : p.Runs) {
            const TRichCharFormat& f = r.Format;
            AppendAscii(out, "\\plain\\f");
            AppendInt(out, fontOf(f));
            AppendAscii(out, "\\fs");
            AppendInt(out, std::clamp(f.Size, 1, 400) * 2);
            if (f.Bold) AppendAscii(out, "\\b");
            if (f.Italic) AppendAscii(out, "\\i");
            if (f.Underline) AppendAscii(out, "\\ul");
            if (f.StrikeOut) AppendAscii(out, "\\strike");
            AppendAscii(out, "\\cf");
            AppendInt(out, colorOf(f.Color));
            out.push_back(u' ');
            for (char16_t c : r.Text) {
                if (c == u'\t') AppendAscii(out, "\\tab ");
                else if (c == kLineSep) AppendAscii(out, "\\line ");
                else if ((c < 0x20) || c == u'\uFFFE' || c == u'\uFFFF') continue;
                else AppendEscaped(out, c);
            }
        }
    }
    AppendAscii(out, "}");
    return out;
}

TRichCharFormat TRichDocument::FirstFormat() const {
    for (const auto& p : paragraphs_)
        for (const auto& r : p.Runs)
            if (!r.Text.empty()) return r.Format;
    for (const auto& p : paragraphs_)
        if (!p.Runs.empty()) return p.Runs.front().Format;
    return {};
}

void TRichDocument::SetTextColor(TColor Color, int MaxChars) {
    int left = MaxChars;
    for (auto& p : paragraphs_) {
        std::vector<TRichRun> runs;
        for (auto& r : p.Runs) {
            if (left <= 0) {
                runs.push_back(std::move(r));
                continue;
            }
            const int n = static_cast<int>(r.Text.size());
            if (n <= left) {
                r.Format.Color = Color;
                left -= n;
                runs.push_back(std::move(r));
                continue;
            }
            TRichRun head{r.Text.substr(0, static_cast<std::size_t>(left)), r.Format};
            head.Format.Color = Color;
            runs.push_back(std::move(head));
            runs.push_back({r.Text.substr(static_cast<std::size_t>(left)), r.Format});
            left = 0;
        }
        p.Runs = std::move(runs);
        // A paragraph break counts as a character, as in the rich edit's character positions.
        --left;
    }
}

// ---- Rendering ---------------------------------------------------------------------------

namespace {

struct TPiece {
    String Text;  // a word with its trailing spaces, a tab, or a line separator
    const TRichCharFormat* Format;
    int Width = 0, TrailWidth = 0, Ascent = 0, Height = 0;
    bool Tab = false, Break = false;
};

struct TLine {
    std::size_t First = 0, Last = 0;  // pieces [First, Last)
    int Width = 0, Ascent = 0, Height = 0;
};

void SelectFormat(TCanvas* c, const TRichCharFormat& f, TColor defColor) {
    TFont* font = c->Font();
    font->SetName(f.FontName);
    font->SetCharset(f.Charset);
    font->SetSize(f.Size);
    TFontStyles st;
    if (f.Bold) st += fsBold;
    if (f.Italic) st += fsItalic;
    if (f.Underline) st += fsUnderline;
    if (f.StrikeOut) st += fsStrikeOut;
    font->SetStyle(st);
    font->SetColor(f.Color == clDefault ? defColor : f.Color);
}

constexpr int kTabPixels = 48;  // default tab stops every half inch at 96 pixels per inch

} // namespace

TSize RenderRichText(TCanvas* Canvas, const TRichDocument& Doc, const TRect& R, const TRichRenderOptions& Options) {
    const TFont savedFont(*Canvas->Font());
    const TBrushStyle savedBrush = Canvas->Brush()->Style();
    int saved = 0;
    if (!Options.MeasureOnly) {
        saved = Canvas->SaveDC();
        Canvas->IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
        Canvas->Brush()->SetStyle(bsClear);
    }
    const int ppi = ScreenPixelsPerInch;
    int y = R.Top, widest = 0;
    const TRichCharFormat fallback = Doc.FirstFormat();
    for (const auto& para : Doc.Paragraphs()) {
        // Cut the paragraph into pieces and measure them.
        std::vector<TPiece> pieces;
        for (const auto& run : para.Runs) {
            std::size_t i = 0;
            while (i < run.Text.size()) {
                TPiece pc{String(), &run.Format};
                const char16_t c = run.Text[i];
                if (c == u'\t' || c == kLineSep) {
                    pc.Text.push_back(c);
                    pc.Tab = c == u'\t';
                    pc.Break = c == kLineSep;
                    ++i;
                } else {
                    std::size_t j = i;
                    while (j < run.Text.size() && run.Text[j] != u' ' && run.Text[j] != u'\t' && run.Text[j] != kLineSep) ++j;
                    while (j < run.Text.size() && run.Text[j] == u' ') ++j;
                    pc.Text = run.Text.substr(i, j - i);
                    i = j;
                }
                pieces.push_back(std::move(pc));
            }
        }
        auto metrics = [&](const TRichCharFormat& f, int& ascent, int& height) {
            SelectFormat(Canvas, f, Options.DefaultColor);
            TTextMetric tm;
            Canvas->GetTextMetrics(tm);
            ascent = tm.tmAscent;
            height = tm.tmHeight;
        };
        for (auto& pc : pieces) {
            metrics(*pc.Format, pc.Ascent, pc.Height);
            if (pc.Tab || pc.Break) continue;
            pc.Width = Canvas->TextWidth(pc.Text);
            const auto last = pc.Text.find_last_not_of(u' ');
            pc.TrailWidth = last == String::npos ? pc.Width : pc.Width - Canvas->TextWidth(StringView(pc.Text).substr(0, last + 1));
        }
        const int left = R.Left + TwipsToPixels(para.LeftIndent, ppi);
        const int right = R.Right - TwipsToPixels(para.RightIndent, ppi);
        const int first = TwipsToPixels(para.FirstIndent, ppi);

        // Break into lines.
        std::vector<TLine> lines;
        TLine line;
        int x = first;
        auto close = [&](std::size_t end) {
            line.Last = end;
            if (line.Height == 0) {
                const TRichCharFormat& f = end > 0 && end <= pieces.size() ? *pieces[end - 1].Format
                                           : !para.Runs.empty()                ? para.Runs.front().Format
                                                                               : fallback;
                metrics(f, line.Ascent, line.Height);
            }
            lines.push_back(line);
            line = {};
            line.First = end;
            x = 0;
        };
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            TPiece& pc = pieces[k];
            if (pc.Break) {
                line.Ascent = std::max(line.Ascent, pc.Ascent);
                line.Height = std::max(line.Height, pc.Height);
                close(k + 1);
                continue;
            }
            int w = pc.Width;
            if (pc.Tab) w = pc.Width = kTabPixels - ((x % kTabPixels) + kTabPixels) % kTabPixels;
            if (Options.WordWrap && k > line.First && left + x + w - pc.TrailWidth > right) close(k);
            x += w;
            line.Width = x - pc.TrailWidth;
            line.Ascent = std::max(line.Ascent, pc.Ascent);
            line.Height = std::max(line.Height, pc.Height - pc.Ascent + line.Ascent);
        }
        close(pieces.size());
        // Draw.
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const TLine& ln = lines[n];
            const int indent = n == 0 ? first : 0;
            int lx = left + indent;
            const int room = right - left - indent;
            const int lineWidth = ln.Width - (n == 0 ? first : 0);
            if (para.Alignment == raRight) lx = left + indent + room - lineWidth;
            else if (para.Alignment == raCenter) lx = left + indent + (room - lineWidth) / 2;
            widest = std::max(widest, left - R.Left + indent + lineWidth + (R.Right - right));
            if (!Options.MeasureOnly) {
                int px = lx;
                for (std::size_t k = ln.First; k < ln.Last; ++k) {
                    const TPiece& pc = pieces[k];
                    if (pc.Break) continue;
                    if (!pc.Tab) {
                        SelectFormat(Canvas, *pc.Format, Options.DefaultColor);
                        Canvas->TextOut(px, y + ln.Ascent - pc.Ascent, pc.Text);
                    }
                    px += pc.Width;
                }
            }
            y += ln.Height;
        }
    }
    if (!Options.MeasureOnly) {
        Canvas->RestoreDC(saved);
        Canvas->Brush()->SetStyle(savedBrush);
    }
    Canvas->Font()->Assign(savedFont);
    return {widest, y - R.Top};
}

} // namespace plat
