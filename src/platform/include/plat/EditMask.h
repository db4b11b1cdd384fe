#pragma once
// The edit-mask language of the layer's edits.
//
// A mask has up to three fields separated by ';':
//   1. the picture, one position of the edit text per character that is not a directive:
//        0  digit, required            9  digit, optional
//        #  digit, '+' or '-', optional
//        L  letter, required           l  letter, optional
//        A  letter or digit, required  a  letter or digit, optional
//        C  any character, required    c  any character, optional
//        >  letters after it upper-cased, <  lower-cased, <> neither (directives)
//        !  optional positions left empty are shown as leading blanks: a value shorter than
//           its group is placed at the group's right end (directive)
//        \  the next character is a literal
//        :  the locale's time separator (literal)   /  the locale's date separator (literal)
//        _  a space (literal)
//        any other character is a literal
//   2. save-literals: "0" keeps only the entered characters in the text; anything else
//      (and a missing field) keeps the literals too;
//   3. the blank character shown in empty positions ('_' when missing or empty).
//
// The edit text always has one character per position: literals in place, the blank
// character where nothing is entered. The text (what a masked edit reports and stores) has
// a space for each empty position, the literals only with save-literals, and its blanks
// trimmed on the right (on the left with '!').
#include <vector>

#include "plat/String.h"

namespace plat {

class TEditMask {
public:
    TEditMask() = default;
    // Literal separators come from FormatSettings when the mask is parsed.
    explicit TEditMask(StringView Mask);

    bool Empty() const { return positions_.empty(); }
    const String& Mask() const { return mask_; }
    bool SaveLiterals() const { return saveLiterals_; }
    char16_t Blank() const { return blank_; }
    bool LeadingBlanks() const { return leadingBlanks_; }
    int Length() const { return static_cast<int>(positions_.size()); }
    bool IsLiteral(int Pos) const;

    // The edit text with nothing entered.
    String BlankText() const;
    // The edit text showing Value (a text as the edit reports it, with or without literals).
    String ToEditText(StringView Value) const;
    // The text an edit text stands for.
    String ToText(StringView EditText) const;
    // Every required position holds a character.
    bool IsComplete(StringView EditText) const;
    // No position shows the blank character.
    bool IsFull(StringView EditText) const;
    // EditText at the mask's length, literals in place, characters no position takes
    // emptied.
    String Conform(StringView EditText) const;

    // Editing an edit text; the selection is [SelStart, SelStart + SelLength).
    struct TEdit {
        String Text;
        int Caret = 0;
        bool Accepted = false;  // false: the key is refused and the text unchanged
    };
    // Types Ch: the selection is emptied, Ch goes to the next entry position at or after the
    // caret (typing a literal's own character steps over it), letters take the case rule.
    TEdit Type(StringView EditText, int SelStart, int SelLength, char16_t Ch) const;
    // Backspace: empties the selection, or the entry position before the caret.
    TEdit Backspace(StringView EditText, int SelStart, int SelLength) const;
    // Delete: empties the selection, or the entry position at the caret.
    TEdit Delete(StringView EditText, int SelStart, int SelLength) const;
    // Paste: empties the selection and types each character; characters no position takes
    // are skipped. Accepted when at least one character was placed or a selection emptied.
    TEdit Paste(StringView EditText, int SelStart, int SelLength, StringView Value) const;

private:
    enum Kind : unsigned char { Literal, Digit, DigitOpt, DigitSign, Letter, LetterOpt, AlNum, AlNumOpt, Any, AnyOpt };
    enum Case : unsigned char { NoCase, Upper, Lower };
    struct Position {
        Kind kind;
        Case charCase;
        char16_t literal;  // for Literal
    };
    bool Accepts(const Position& p, char16_t Ch, char16_t& Out) const;
    int NextEntry(int From) const;  // first entry position >= From, or Length()
    String EmptyRange(StringView EditText, int From, int To) const;

    String mask_;
    std::vector<Position> positions_;
    bool saveLiterals_ = true;
    bool leadingBlanks_ = false;
    char16_t blank_ = u'_';
};

} // namespace plat
