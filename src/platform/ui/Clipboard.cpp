#include "plat/Clipbrd.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <atomic>
#include <cctype>
#include <map>

#include "plat/Controls.h"

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
    const String name = GetClipboardFormatName(format);
    if (name == u"HTML Format") return QStringLiteral("text/html");
    if (name == u"Rich Text Format") return QStringLiteral("text/rtf");
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
    for (const auto& [format, bytes] : p.data) {
        if (format == CF_TEXT) {
            mime->setText(ToQString(AnsiToString(bytes)));
        } else if (format == CF_UNICODETEXT) {
            mime->setText(ToQString(FromUtf16Bytes(bytes)));
        } else if (IsHtmlFormat(format)) {
            mime->setData(QString::fromLatin1(kHtmlBlockType), QByteArray::fromStdString(bytes));
            mime->setData(QStringLiteral("text/html"), QByteArray::fromStdString(HtmlFragment(bytes)));
        } else {
            mime->setData(MimeOf(format), QByteArray::fromStdString(bytes));
        }
    }
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
    if (!m) return false;
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) return m->hasText();
    if (IsHtmlFormat(Format)) return m->hasFormat(QString::fromLatin1(kHtmlBlockType)) || m->hasHtml();
    return m->hasFormat(MimeOf(Format));
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
    if (!m) return {};
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) {
        if (!m->hasText()) return {};
        const String text = ToString(m->text());
        return Format == CF_TEXT ? StringToAnsi(text) : Utf16Bytes(text);
    }
    if (IsHtmlFormat(Format)) {
        if (m->hasFormat(QString::fromLatin1(kHtmlBlockType)))
            return m->data(QString::fromLatin1(kHtmlBlockType)).toStdString();
        return m->data(QStringLiteral("text/html")).toStdString();
    }
    return m->data(MimeOf(Format)).toStdString();
}

String TClipboard::AsText() const
{
    return FromUtf16Bytes(GetAsHandle(CF_UNICODETEXT));
}

} // namespace plat
