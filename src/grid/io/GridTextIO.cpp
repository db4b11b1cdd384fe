#include "GridTextIO.h"

#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "plat/Files.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid::io {

std::vector<int> SavedRealColumns(const TExtStringGrid& Grid, bool IncludeHidden)
{
    std::vector<int> cols;
    for (int d = Grid.SaveStartCol(); d <= Grid.SaveEndCol(); ++d) cols.push_back(Grid.RealColIndex(d));
    if (!IncludeHidden || Grid.NumHiddenColumns() == 0) return cols;
    std::vector<int> all;
    for (int c = 0; c < Grid.AllColCount(); ++c) {
        if (Grid.IsHiddenColumn(c)) {
            all.push_back(c);
            continue;
        }
        const int d = Grid.DisplCol(c);
        if (d >= Grid.SaveStartCol() && d <= Grid.SaveEndCol()) all.push_back(c);
    }
    return all;
}

bool ReadGridFile(const String& FileName, std::string& Bytes)
{
    return plat::ReadRegularFile(FileName, Bytes, kGridFileCap);
}

bool ReadGridFile(const String& FileName, plat::TFileBytes& Bytes)
{
    return plat::ReadRegularFile(FileName, Bytes, kGridFileCap);
}

TLineReader::TLineReader(std::string_view Bytes) : bytes_(Bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(Bytes.data());
    if (Bytes.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        enc_ = Enc::Utf8;
        pos_ = 3;
    } else if (Bytes.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        enc_ = Enc::Utf16Le;
        pos_ = 2;
    } else if (Bytes.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        enc_ = Enc::Utf16Be;
        pos_ = 2;
    }
}

bool TLineReader::Next(String& Line)
{
    const std::size_t n = bytes_.size();
    if (pos_ >= n || (enc_ >= Enc::Utf16Le && pos_ + 1 >= n)) return false;
    Line.clear();
    if (enc_ == Enc::Utf16Le || enc_ == Enc::Utf16Be) {
        const int lo = enc_ == Enc::Utf16Le ? 0 : 1;
        auto unit = [&](std::size_t p) {
            return static_cast<char16_t>(static_cast<unsigned char>(bytes_[p + lo]) |
                                         (static_cast<unsigned char>(bytes_[p + 1 - lo]) << 8));
        };
        while (pos_ + 1 < n) {
            const char16_t u = unit(pos_);
            pos_ += 2;
            if (u == u'\n') return true;
            if (u == u'\r') {
                if (pos_ + 1 < n && unit(pos_) == u'\n') pos_ += 2;
                return true;
            }
            Line += u;
        }
        pos_ = n;
        return true;
    }
    std::size_t end = pos_;
    while (end < n && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    const std::string_view raw(bytes_.data() + pos_, end - pos_);
    Line = enc_ == Enc::Utf8 ? plat::Utf8ToString(raw) : plat::AnsiToString(raw);
    pos_ = end;
    if (pos_ < n && bytes_[pos_] == '\r') ++pos_;
    else if (pos_ < n) {
        ++pos_;
        return true;
    }
    if (pos_ < n && bytes_[pos_ - 1] == '\r' && bytes_[pos_] == '\n') ++pos_;
    return true;
}

bool TLineReader::NextBytes(std::string_view& Line)
{
    const std::size_t n = bytes_.size();
    if (pos_ >= n) return false;
    const char* base = bytes_.data();
    std::size_t end = pos_;
    while (end < n && base[end] != '\r' && base[end] != '\n') ++end;
    Line = std::string_view(base + pos_, end - pos_);
    pos_ = end;
    if (pos_ < n && base[pos_] == '\r') {
        ++pos_;
        if (pos_ < n && base[pos_] == '\n') ++pos_;
    } else if (pos_ < n) {
        ++pos_;
    }
    return true;
}

String TLineReader::Decode(std::string_view Bytes) const
{
    return enc_ == Enc::Utf8 ? plat::Utf8ToString(Bytes) : plat::AnsiToString(Bytes);
}

bool TLineReader::AtEnd() const
{
    return pos_ >= bytes_.size() || ((enc_ == Enc::Utf16Le || enc_ == Enc::Utf16Be) && pos_ + 1 >= bytes_.size());
}

struct TTextFileWriter::Impl {
    explicit Impl(const String& FileName) : file(FileName), name(FileName) {}
    plat::TAtomicFileWriter file;
    String name;
    TEncoding enc = Ansi;
    std::string bytes;
};

TTextFileWriter::TTextFileWriter(const String& FileName, TEncoding Encoding) : impl_(new Impl(FileName))
{
    impl_->enc = Encoding;
    if (Encoding == Utf8Bom) impl_->file.Write("\xEF\xBB\xBF", 3);
    if (Encoding == Utf16LeBom) impl_->file.Write("\xFF\xFE", 2);
}

TTextFileWriter::~TTextFileWriter() { delete impl_; }

void TTextFileWriter::Add(StringView Text)
{
    text_ += Text;
    if (text_.size() >= (1u << 16)) Flush();
}

void TTextFileWriter::WriteBytes(std::string_view Bytes)
{
    Flush();
    impl_->file.Write(Bytes.data(), Bytes.size());
}

void TTextFileWriter::Flush()
{
    std::string& b = impl_->bytes;
    switch (impl_->enc) {
    case Ansi:
        b = plat::StringToAnsi(text_);
        break;
    case Utf8:
    case Utf8Bom:
        b = plat::StringToUtf8(text_);
        break;
    case Utf16LeBom:
        b.resize(2 * text_.size());
        for (std::size_t i = 0; i < text_.size(); ++i) {
            b[2 * i] = static_cast<char>(text_[i] & 0xFF);
            b[2 * i + 1] = static_cast<char>(text_[i] >> 8);
        }
        break;
    }
    impl_->file.Write(b.data(), b.size());
    text_.clear();
}

void TTextFileWriter::Commit()
{
    Flush();
    if (!impl_->file.Commit()) throw plat::EFOpenError(u"Cannot create file \"" + impl_->name + u"\".");
}

TRowProgress::TRowProgress(TExtStringGrid& Grid, int First, int Count)
    : grid_(Grid), first_(First), span_(std::max(1, Count - 1))
{
}

void TRowProgress::Row(int R)
{
    if (!grid_.OnFileProgress) return;
    const double pct = std::nearbyint(static_cast<double>(R - first_) * 100.0 / span_);
    const int p = static_cast<int>(std::clamp(pct, 0.0, 100.0));
    if (p == last_) return;
    last_ = p;
    grid_.OnFileProgress(&grid_, static_cast<short>(p));
}

} // namespace grid::io
