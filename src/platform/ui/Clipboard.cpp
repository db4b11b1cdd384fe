#include "plat/Clipbrd.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QUrl>

#include <atomic>
#include <cctype>
#include <map>

#include "plat/Controls.h"
#include "ui/MimeFormats.h"

namespace plat {

namespace {

std::atomic<bool> g_held{false};

// Data collected between the first change of an open session and its outermost Close.
struct Pending {
    bool emptied = false;
    std::map<UINT, std::string> data;
};

Pending& Session()
{
    static Pending p;
    return p;
}

const char* const kHtmlBlockType = "application/x-configurator-html-format";

QString MimeOf(UINT format)
{
    if (format == CF_TEXT || format == CF_UNICODETEXT) return QStringLiteral("text/plain");
    if (format == 15) return QStringLiteral("text/uri-list");
    const String name = GetClipboardFormatName(format);
    if (name == u"HTML Format") return QStringLiteral("text/html");
    if (name == u"Rich Text Format") return QStringLiteral("text/rtf");
    if (name == u"CSV") return QStringLiteral("text/csv");
    if (name == u"UniformResourceLocator") return QStringLiteral("text/uri-list");
    if (name.empty()) return QStringLiteral("application/x-configurator-format-%1").arg(format);
    std::string tail;
    for (char c : StringToUtf8(name))
        tail += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '-';
    return QStringLiteral("application/x-configurator-") + QString::fromStdString(tail);
}

bool IsHtmlFormat(UINT format) { return format >= 0xC000 && GetClipboardFormatName(format) == u"HTML Format"; }

// Reads "Name:number" from the header of a clipboard-HTML block; -1 when absent.
long HeaderNumber(const std::string& block, const char* name)
{
    const std::size_t at = block.find(name);
    if (at == std::string::npos) return -1;
    std::size_t p = at + std::char_traits<char>::length(name);
    long v = 0;
    bool any = false;
    while (p < block.size() && block[p] >= '0' && block[p] <= '9' && v < 100000000) {
        v = v * 10 + (block[p++] - '0');
        any = true;
    }
    return any ? v : -1;
}

// The HTML a browser expects under text/html: the fragment the block's offsets announce
// (the whole block when they are missing or point outside it).
std::string HtmlFragment(const std::string& block)
{
    const long s = HeaderNumber(block, "StartFragment:");
    const long e = HeaderNumber(block, "EndFragment:");
    if (s < 0 || e < s || static_cast<std::size_t>(e) > block.size()) return block;
    return block.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(e - s));
}

std::string Utf16Bytes(StringView s)
{
    std::string out(s.size() * 2, '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[2 * i] = static_cast<char>(s[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(s[i] >> 8);
    }
    return out;
}

String FromUtf16Bytes(const std::string& b)
{
    String out(b.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(b[2 * i]) |
                                       (static_cast<unsigned char>(b[2 * i + 1]) << 8));
    return out;
}

String ToString(const QString& q) { return String(reinterpret_cast<const char16_t*>(q.utf16()), q.size()); }
QString ToQString(StringView s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

QClipboard* System()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

void Publish(const Pending& p)
{
    QClipboard* cb = System();
    if (!cb) return;
    if (p.data.empty()) {
        cb->clear();
        return;
    }
    auto* mime = new QMimeData;
    for (const auto& [format, bytes] : p.data) ui::PutFormat(*mime, format, bytes);
    cb->setMimeData(mime);
}

} // namespace

TClipboard& Clipboard()
{
    static TClipboard c;
    return c;
}

void HoldClipboard(bool Held) { g_held = Held; }

void TClipboard::Open()
{
    if (openCount_ == 0) {
        if (g_held) throw EClipboardException(u"Cannot open clipboard");
        Session() = Pending{};
    }
    ++openCount_;
}

void TClipboard::Close()
{
    if (openCount_ == 0) return;
    if (--openCount_ == 0 && Session().emptied) {
        Pending p = std::move(Session());
        Session() = Pending{};
        Publish(p);
    }
}

void TClipboard::Clear()
{
    Open();
    Session().emptied = true;
    Session().data.clear();
    Close();
}

void TClipboard::SetAsHandle(UINT Format, std::string Bytes)
{
    Open();
    Pending& p = Session();
    if (!p.emptied) {
        p.emptied = true;
        p.data.clear();
    }
    // Both text formats are one text on the system clipboard: the last one set wins.
    if (Format == CF_TEXT) p.data.erase(CF_UNICODETEXT);
    if (Format == CF_UNICODETEXT) p.data.erase(CF_TEXT);
    p.data[Format] = std::move(Bytes);
    Close();
}

void TClipboard::SetAsText(const String& Text)
{
    SetAsHandle(CF_UNICODETEXT, Utf16Bytes(Text));
}

bool TClipboard::HasFormat(UINT Format) const
{
    const Pending& p = Session();
    if (openCount_ > 0 && p.emptied) {
        if (Format == CF_TEXT || Format == CF_UNICODETEXT)
            return p.data.count(CF_TEXT) || p.data.count(CF_UNICODETEXT);
        return p.data.count(Format) != 0;
    }
    QClipboard* cb = System();
    const QMimeData* m = cb ? cb->mimeData() : nullptr;
    return m && ui::MimeHasFormat(*m, Format);
}

std::string TClipboard::GetAsHandle(UINT Format) const
{
    const Pending& p = Session();
    if (openCount_ > 0 && p.emptied) {
        if (Format == CF_TEXT || Format == CF_UNICODETEXT) {
            String text;
            if (auto it = p.data.find(CF_UNICODETEXT); it != p.data.end()) text = FromUtf16Bytes(it->second);
            else if (auto a = p.data.find(CF_TEXT); a != p.data.end()) text = AnsiToString(a->second);
            else return {};
            return Format == CF_TEXT ? StringToAnsi(text) : Utf16Bytes(text);
        }
        auto it = p.data.find(Format);
        return it == p.data.end() ? std::string() : it->second;
    }
    QClipboard* cb = System();
    const QMimeData* m = cb ? cb->mimeData() : nullptr;
    return m ? ui::MimeFormatBytes(*m, Format) : std::string();
}

String TClipboard::AsText() const
{
    return FromUtf16Bytes(GetAsHandle(CF_UNICODETEXT));
}

} // namespace plat

// ---- The format table shared with drag and drop -------------------------------------------

namespace plat::ui {

namespace {

constexpr UINT kFileList = 15;

bool IsUrlFormat(UINT format) { return format >= 0xC000 && GetClipboardFormatName(format) == u"UniformResourceLocator"; }

void AddUrls(QMimeData& mime, const QList<QUrl>& more)
{
    QList<QUrl> urls = mime.urls();
    for (const QUrl& u : more)
        if (!urls.contains(u)) urls.append(u);
    mime.setUrls(urls);
}

std::uint32_t U32At(const std::string& b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

} // namespace

QString FormatMimeType(UINT Format) { return MimeOf(Format); }

void PutFormat(QMimeData& Mime, UINT Format, const std::string& Bytes)
{
    if (Format == CF_TEXT) {
        Mime.setText(ToQString(AnsiToString(Bytes)));
    } else if (Format == CF_UNICODETEXT) {
        String text = FromUtf16Bytes(Bytes);
        if (const auto nul = text.find(u'\0'); nul != String::npos) text.resize(nul);
        Mime.setText(ToQString(text));
    } else if (Format == kFileList) {
        std::vector<String> names;
        if (!ParseDropFilesBlock(Bytes, names)) return;
        QList<QUrl> urls;
        for (const String& n : names) urls.append(QUrl::fromLocalFile(ToQString(n)));
        AddUrls(Mime, urls);
    } else if (IsUrlFormat(Format)) {
        const std::string url = Bytes.substr(0, Bytes.find('\0'));
        if (!url.empty()) AddUrls(Mime, {QUrl(ToQString(AnsiToString(url)))});
    } else if (IsHtmlFormat(Format)) {
        Mime.setData(QString::fromLatin1(kHtmlBlockType), QByteArray::fromStdString(Bytes));
        Mime.setData(QStringLiteral("text/html"), QByteArray::fromStdString(HtmlFragment(Bytes)));
    } else {
        Mime.setData(MimeOf(Format), QByteArray::fromStdString(Bytes));
    }
}

bool MimeHasFormat(const QMimeData& Mime, UINT Format)
{
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) return Mime.hasText();
    if (Format == kFileList) {
        for (const QUrl& u : Mime.urls())
            if (u.isLocalFile()) return true;
        return false;
    }
    if (IsUrlFormat(Format)) {
        for (const QUrl& u : Mime.urls())
            if (!u.isLocalFile()) return true;
        return false;
    }
    if (IsHtmlFormat(Format)) return Mime.hasFormat(QString::fromLatin1(kHtmlBlockType)) || Mime.hasHtml();
    return Mime.hasFormat(MimeOf(Format));
}

std::string MimeFormatBytes(const QMimeData& Mime, UINT Format)
{
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) {
        if (!Mime.hasText()) return {};
        const String text = ToString(Mime.text());
        return Format == CF_TEXT ? StringToAnsi(text) : Utf16Bytes(text);
    }
    if (Format == kFileList) {
        std::vector<String> names;
        for (const QUrl& u : Mime.urls())
            if (u.isLocalFile()) names.push_back(ToString(u.toLocalFile()));
        return names.empty() ? std::string() : MakeDropFilesBlock(names);
    }
    if (IsUrlFormat(Format)) {
        for (const QUrl& u : Mime.urls())
            if (!u.isLocalFile()) return StringToAnsi(ToString(u.toString())) + std::string(1, '\0');
        return {};
    }
    if (IsHtmlFormat(Format)) {
        if (Mime.hasFormat(QString::fromLatin1(kHtmlBlockType)))
            return Mime.data(QString::fromLatin1(kHtmlBlockType)).toStdString();
        return Mime.data(QStringLiteral("text/html")).toStdString();
    }
    return Mime.data(MimeOf(Format)).toStdString();
}

std::vector<UINT> MimeOfferedFormats(const QMimeData& Mime)
{
    std::vector<UINT> out;
    if (Mime.hasText()) {
        out.push_back(CF_UNICODETEXT);
        out.push_back(CF_TEXT);
    }
    if (MimeHasFormat(Mime, kFileList)) out.push_back(kFileList);
    // Registered ids are handed out one after another from 0xC000.
    for (UINT id = 0xC000; id < 0xC000 + 0x4000; ++id) {
        if (GetClipboardFormatName(id).empty()) break;
        if (MimeHasFormat(Mime, id)) out.push_back(id);
    }
    return out;
}

std::string MakeDropFilesBlock(const std::vector<String>& Names)
{
    std::string b(20, '\0');
    b[0] = 20;
    b[16] = 1;  // wide names
    for (const String& n : Names) b += Utf16Bytes(n) + std::string(2, '\0');
    b += std::string(2, '\0');
    return b;
}

bool ParseDropFilesBlock(const std::string& Block, std::vector<String>& Names)
{
    Names.clear();
    if (Block.size() < 20) return false;
    const std::uint32_t offset = U32At(Block, 0);
    const bool wide = U32At(Block, 16) != 0;
    if (offset < 20 || offset >= Block.size()) return false;
    const std::size_t unit = wide ? 2 : 1;
    std::size_t p = offset;
    String current;
    for (;;) {
        if (p + unit > Block.size()) {
            Names.clear();
            return false;  // the list does not end inside the block
        }
        const char16_t c = wide ? static_cast<char16_t>(static_cast<unsigned char>(Block[p]) |
                                                        (static_cast<unsigned char>(Block[p + 1]) << 8))
                                : static_cast<char16_t>(static_cast<unsigned char>(Block[p]));
        p += unit;
        if (c != 0) {
            current += c;
            continue;
        }
        if (current.empty()) return true;
        if (!wide) {
            std::string bytes(current.begin(), current.end());  // each unit holds one byte
            current = AnsiToString(bytes);
        }
        Names.push_back(current);
        current.clear();
    }
}

} // namespace plat::ui
