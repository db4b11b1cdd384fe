#pragma once
// Rich text: a reader for the common subset of the Rich Text Format and a renderer that lays
// the text out on a canvas.
//
// The reader understands groups, the font table (names, \fcharset), the colour table,
// \ansicpg, \'hh bytes in the code page of the current font's charset (204: Windows-1251)
// or else of the document (1251, otherwise Windows-1252), \uN escapes with \ucN,
// paragraphs (\par, \pard, \ql \qc \qr \qj, \li \ri \fi), \line, \tab, the character formats
// \b \i \ul \ulnone \strike \f \fs \cf \plain and the control symbols \\ \{ \} \~ \- \_.
// Other destinations (\*\..., \info, \stylesheet, \pict, \header, \footer ...) are skipped
// whole; unknown control words are ignored.
// - Any text is accepted: unbalanced braces, truncated escapes, huge numbers and deep nesting
//   end the read gracefully and keep what was read. Characters outside the ASCII range that
//   stand in the text itself (a UTF-16 source) are taken unchanged.
// - Font sizes are clamped to 1..400 points, indents to 22 inches either way; font and colour indexes that the tables lack
//   give the defaults (the first font, the automatic colour).
// - The amount kept is bounded by the input: no control word makes the reader produce more
//   than one character per source character, save \tab and \par (one each).
#include <string_view>
#include <vector>

#include "plat/Graphics.h"
#include "plat/String.h"

namespace plat {

enum TRichAlignment { raLeft, raRight, raCenter, raJustify };

struct TRichCharFormat {
    String FontName = u"Arial";
    TFontCharset Charset = 0;
    int Size = 10;  // points
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    // clDefault: the colour the renderer is given.
    TColor Color = clDefault;
    bool operator==(const TRichCharFormat&) const = default;
};

struct TRichRun {
    // Tabs stay U+0009; a line break inside the paragraph (\line) is U+2028.
    String Text;
    TRichCharFormat Format;
};

struct TRichParagraph {
    std::vector<TRichRun> Runs;
    TRichAlignment Alignment = raLeft;
    int LeftIndent = 0, RightIndent = 0, FirstIndent = 0;  // twips
};

class TRichDocument {
public:
    // Reads rich text when the text begins with "{\rtf" (after white space), else takes it as
    // plain text (line breaks CR LF, CR or LF end paragraphs). Returns false when the text
    // looked like rich text but ended early or was damaged; what was read is kept.
    bool Load(StringView Text);
    // A document of plain text in the given format.
    void SetPlainText(StringView Text, const TRichCharFormat& Format = {});

    const std::vector<TRichParagraph>& Paragraphs() const { return paragraphs_; }
    std::vector<TRichParagraph>& Paragraphs() { return paragraphs_; }
    // The text with paragraph and line breaks as CR LF, without a final break.
    String PlainText() const;
    // The format of the first character (the default format of an empty document).
    TRichCharFormat FirstFormat() const;
    // Colours the first MaxChars characters.
    void SetTextColor(TColor Color, int MaxChars);
    // The document as rich text that Load reads back to the same paragraphs and runs: a font
    // table of the runs' fonts and charsets, a colour table of their colours, paragraph
    // alignment and indents, the character formats, and every character outside printable
    // ASCII as a \uN escape (\uc1 with '?' for readers without Unicode), so no text is
    // narrowed to a code page. Tabs become \tab, line breaks inside a paragraph \line; other
    // control characters and the non-characters U+FFFE and U+FFFF are left out. Font names
    // keep their characters (escaped like text) but lose ';', which ends a name.
    String SaveRichText() const;

private:
    std::vector<TRichParagraph> paragraphs_;
};

struct TRichRenderOptions {
    // Wrap at the right edge of the rectangle; off: lines end only at breaks.
    bool WordWrap = true;
    // Colour of text whose format has clDefault.
    TColor DefaultColor = clBlack;
    // Measure only: nothing is drawn.
    bool MeasureOnly = false;
};

// Lays the document out in R (pixels of the canvas) and draws it with a transparent
// background, clipped to R. Returns the size its content requests: the widest line and the
// total height of all lines, in pixels (the whole text, even what R cuts off).
TSize RenderRichText(TCanvas* Canvas, const TRichDocument& Doc, const TRect& R, const TRichRenderOptions& Options);

// Twips of a length in pixels at a resolution, and back (rounded to nearest).
inline int PixelsToTwips(int Pixels, int PixelsPerInch) { return static_cast<int>((Pixels * 1440LL + (Pixels >= 0 ? PixelsPerInch / 2 : -PixelsPerInch / 2)) / PixelsPerInch); }
inline int TwipsToPixels(int Twips, int PixelsPerInch) { return static_cast<int>((Twips * static_cast<long long>(PixelsPerInch) + (Twips >= 0 ? 720 : -720)) / 1440); }

} // namespace plat
