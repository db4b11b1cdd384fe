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
#include <set>

#include "plat/Controls.h"
#include "plat/DragDrop.h"
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

// ---- Clipboard of data objects ------------------------------------------------------------

namespace {

std::atomic<bool> g_failRead{false};

// The MIME types under which a format travels.
QStringList TypesOf(UINT format)
{
    if (IsHtmlFormat(format)) return {QString::fromLatin1(kHtmlBlockType), QStringLiteral("text/html")};
    return {MimeOf(format)};
}

// The bytes of a medium: a global memory block, or a stream read from its start.
bool MediumBytes(const TStgMedium& m, std::string& out)
{
    if (m.Tymed == TYMED_HGLOBAL && m.Global) {
        out.assign(m.Global.begin(), m.Global.end());
        return true;
    }
    if (m.Tymed == TYMED_ISTREAM && m.Stream) {
        const std::int64_t size = m.Stream->Size();
        if (size < 0 || size > (std::int64_t{1} << 31)) return false;
        out.assign(static_cast<std::size_t>(size), '\0');
        m.Stream->SetPosition(0);
        out.resize(m.Stream->Read(out.data(), out.size()));
        return true;
    }
    return false;
}

// The bytes of a format as global memory, or from a stream when the object offers no memory
// block (a format's bytes may differ between the two media, so memory comes first).
bool RenderBytes(IDataObject& data, UINT format, std::string& out)
{
    for (int tymed : {TYMED_HGLOBAL, TYMED_ISTREAM}) {
        TFormatEtc fe;
        fe.Format = format;
        fe.Tymed = tymed;
        TStgMedium m;
        const bool ok = data.GetData(fe, m) == S_OK && MediumBytes(m, out);
        ReleaseStgMedium(m);
        if (ok) return true;
    }
    return false;
}

// The clipboard's MIME data while a data object of this process is on it: the types of the
// formats the object offers, each rendered from the object when a reader asks. Deleting it
// (the clipboard took other data) lets the object go.
class DataObjectMime : public QMimeData {
public:
    explicit DataObjectMime(std::shared_ptr<IDataObject> data) : data_(std::move(data))
    {
        Live().insert(this);
        std::shared_ptr<IEnumFormatEtc> en;
        if (data_->EnumFormatEtc(DATADIR_GET, en) != S_OK || !en) return;
        TFormatEtc f;
        std::uint32_t got = 0;
        while (en->Next(1, &f, &got) == S_OK && got == 1) {
            if (std::find(formats_.begin(), formats_.end(), f.Format) != formats_.end()) continue;
            formats_.push_back(f.Format);
            for (const QString& t : TypesOf(f.Format))
                if (!types_.contains(t)) types_.append(t);
        }
    }
    ~DataObjectMime() override
    {
        Live().erase(this);
        Release();
    }

    // Every such MIME data alive: the clipboard's and any the system has not deleted yet.
    static std::set<DataObjectMime*>& Live()
    {
        // Never destroyed: the system may delete its clipboard data after static destructors.
        static auto* live = new std::set<DataObjectMime*>;
        return *live;
    }

    QStringList formats() const override { return types_; }
    bool hasFormat(const QString& type) const override { return types_.contains(type); }

    const std::shared_ptr<IDataObject>& Data() const { return data_; }
    const std::vector<UINT>& Formats() const { return formats_; }
    void Release()
    {
        // Moved out first: the object's release may call back into the clipboard.
        std::shared_ptr<IDataObject> gone = std::move(data_);
        data_.reset();
        gone.reset();
    }

protected:
    QVariant retrieveData(const QString& type, QMetaType meta) const override
    {
        if (!data_) return {};
        std::shared_ptr<IDataObject> keep = data_;
        QMimeData rendered;
        for (UINT f : formats_) {
            if (!TypesOf(f).contains(type)) continue;
            std::string bytes;
            if (!RenderBytes(*keep, f, bytes)) continue;
            ui::PutFormat(rendered, f, bytes);
            break;
        }
        if (type == QLatin1String("text/plain") && meta.id() == QMetaType::QString) return rendered.text();
        return rendered.data(type);
    }

private:
    std::shared_ptr<IDataObject> data_;
    std::vector<UINT> formats_;
    QStringList types_;
};

// The clipboard's data read through the format table, each format rendered once, on demand.
class ClipboardReader : public IDataObject {
public:
    explicit ClipboardReader(const QMimeData& mime) : formats_(ui::MimeOfferedFormats(mime)) {}

    HRESULT GetData(const TFormatEtc& Format, TStgMedium& Medium) override
    {
        Medium = TStgMedium{};
        const HRESULT q = QueryGetData(Format);
        if (q != S_OK) return q;
        QClipboard* cb = System();
        const QMimeData* m = cb ? cb->mimeData() : nullptr;
        if (!m) return E_FAIL;
        Medium.Tymed = TYMED_HGLOBAL;
        Medium.Global = TGlobalHandle(QByteArrayToBytes(ui::MimeFormatBytes(*m, Format.Format)));
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& Format) override
    {
        if (std::find(formats_.begin(), formats_.end(), Format.Format) == formats_.end()) return DV_E_FORMATETC;
        return (Format.Tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
    }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return DATA_S_SAMEFORMATETC; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int Direction, std::shared_ptr<IEnumFormatEtc>& Out) override
    {
        Out.reset();
        if (Direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<TFormatEtc> list;
        for (UINT f : formats_) {
            TFormatEtc fe;
            fe.Format = f;
            list.push_back(fe);
        }
        Out = std::make_shared<Enum>(std::move(list), 0);
        return S_OK;
    }

private:
    static std::vector<std::uint8_t> QByteArrayToBytes(const std::string& s) { return {s.begin(), s.end()}; }

    class Enum : public IEnumFormatEtc {
    public:
        Enum(std::vector<TFormatEtc> list, std::size_t at) : list_(std::move(list)), at_(at) {}
        HRESULT Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) override
        {
            std::uint32_t n = 0;
            while (n < Count && at_ < list_.size()) Out[n++] = list_[at_++];
            if (Fetched) *Fetched = n;
            return n == Count ? S_OK : S_FALSE;
        }
        HRESULT Skip(std::uint32_t Count) override
        {
            if (Count > list_.size() - at_) return S_FALSE;
            at_ += Count;
            return S_OK;
        }
        HRESULT Reset() override
        {
            at_ = 0;
            return S_OK;
        }
        HRESULT Clone(std::shared_ptr<IEnumFormatEtc>& Out) override
        {
            Out = std::make_shared<Enum>(list_, at_);
            return S_OK;
        }

    private:
        std::vector<TFormatEtc> list_;
        std::size_t at_;
    };
    std::vector<UINT> formats_;
};

DataObjectMime* CurrentMime()
{
    QClipboard* cb = System();
    return cb ? dynamic_cast<DataObjectMime*>(const_cast<QMimeData*>(cb->mimeData())) : nullptr;
}

// Another program taking the clipboard may leave the MIME data alive for a while; the data
// object goes as soon as the clipboard shows other data.
void WatchOwnership(QClipboard* cb)
{
    static bool connected = false;
    if (connected) return;
    connected = true;
    QObject::connect(cb, &QClipboard::dataChanged, cb, [cb] {
        const QMimeData* now = cb->mimeData();
        const std::set<DataObjectMime*> live = DataObjectMime::Live();
        for (DataObjectMime* m : live)
            if (m != now) m->Release();
    });
}

} // namespace

HRESULT OleSetClipboard(std::shared_ptr<IDataObject> Data)
{
    if (g_held) return CLIPBRD_E_CANT_OPEN;
    QClipboard* cb = System();
    if (!cb) return CLIPBRD_E_CANT_OPEN;
    WatchOwnership(cb);
    if (!Data) {
        cb->clear();
        return S_OK;
    }
    cb->setMimeData(new DataObjectMime(std::move(Data)));
    return S_OK;
}

HRESULT OleGetClipboard(std::shared_ptr<IDataObject>& Data)
{
    Data.reset();
    if (g_held || g_failRead) return CLIPBRD_E_CANT_OPEN;
    QClipboard* cb = System();
    if (!cb) return CLIPBRD_E_CANT_OPEN;
    if (DataObjectMime* own = CurrentMime(); own && own->Data()) {
        Data = own->Data();
        return S_OK;
    }
    const QMimeData* m = cb->mimeData();
    QMimeData none;
    Data = std::make_shared<ClipboardReader>(m ? *m : none);
    return S_OK;
}

HRESULT OleFlushClipboard()
{
    if (g_held) return CLIPBRD_E_CANT_OPEN;
    DataObjectMime* own = CurrentMime();
    if (!own || !own->Data()) return S_OK;
    std::shared_ptr<IDataObject> data = own->Data();
    auto* rendered = new QMimeData;
    for (UINT f : own->Formats()) {
        std::string bytes;
        if (RenderBytes(*data, f, bytes)) ui::PutFormat(*rendered, f, bytes);
    }
    System()->setMimeData(rendered);
    own = nullptr;  // deleted by the clipboard
    data.reset();
    return S_OK;
}

HRESULT OleIsCurrentClipboard(const IDataObject* Data)
{
    DataObjectMime* own = CurrentMime();
    return Data && own && own->Data().get() == Data ? S_OK : S_FALSE;
}

void FailClipboardRead(bool Fail) { g_failRead = Fail; }

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
