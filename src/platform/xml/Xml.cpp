#include "plat/Xml.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <pugixml.hpp>
#include <vector>

#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace plat {

namespace {

// Every structural change bumps the generation, which retires the child-position cache below.
std::atomic<std::uint64_t> g_generation{1};
void Mutated() { g_generation.fetch_add(1, std::memory_order_relaxed); }

// Callers walk children by index (`for i < Count(): ChildNodes()[i]`); pugixml keeps children
// as a linked list, so remember where the last lookup under each parent ended. Readers
// alternate between a list and the lists inside its items (the nodes of a network and each
// node's variables), so a cursor is kept for several parents at once: one per nesting level
// of such a walk, which keeps every walk linear.
struct ChildCursor {
    std::uint64_t generation = 0;
    std::uint64_t used = 0;  // recency: the least recently used cursor makes room
    void* parent = nullptr;
    int index = -1;
    pugi::xml_node_struct* node = nullptr;
    int count = -1;
};
constexpr int kCursorSlots = 8;
struct ChildCursors {
    ChildCursor slot[kCursorSlots];
    std::uint64_t tick = 0;
};
thread_local ChildCursors t_cursors;

ChildCursor& CacheFor(void* parent)
{
    const std::uint64_t gen = g_generation.load(std::memory_order_relaxed);
    ChildCursor* oldest = &t_cursors.slot[0];
    for (ChildCursor& c : t_cursors.slot) {
        if (c.parent == parent && c.generation == gen) {
            c.used = ++t_cursors.tick;
            return c;
        }
        if (c.used < oldest->used)
            oldest = &c;
    }
    *oldest = ChildCursor{};
    oldest->generation = gen;
    oldest->used = ++t_cursors.tick;
    oldest->parent = parent;
    return *oldest;
}

// pugixml takes its memory in pages of some 32 KiB and gives all of them back when a document
// is cleared or freed. Through the C allocator, those pages often go back to the system and
// are faulted in again on the next build: a program that builds and saves one table after
// another would touch fresh memory on every save. Pages are therefore kept in a pool (per
// size class of 4 KiB up to 64 KiB, at most kPoolBytes in all) and handed out again.
class TPagePool {
public:
    static void* Allocate(std::size_t size)
    {
        const std::size_t cls = Class(size);
        if (cls != 0) {
            TPagePool& p = Instance();
            std::lock_guard lock(p.mutex_);
            std::vector<void*>& list = p.free_[cls];
            if (!list.empty()) {
                void* block = list.back();
                list.pop_back();
                p.pooled_ -= cls * kGranule;
                return static_cast<char*>(block) + kHeader;
            }
        }
        const std::size_t total = (cls != 0 ? cls * kGranule : size) + kHeader;
        void* block = std::malloc(total);
        if (!block)
            return nullptr;
        *static_cast<std::size_t*>(block) = cls;
        return static_cast<char*>(block) + kHeader;
    }
    static void Deallocate(void* ptr)
    {
        if (!ptr)
            return;
        void* block = static_cast<char*>(ptr) - kHeader;
        const std::size_t cls = *static_cast<std::size_t*>(block);
        if (cls != 0) {
            TPagePool& p = Instance();
            std::lock_guard lock(p.mutex_);
            if (p.pooled_ + cls * kGranule <= kPoolBytes) {
                p.free_[cls].push_back(block);
                p.pooled_ += cls * kGranule;
                return;
            }
        }
        std::free(block);
    }
    static void Install() { pugi::set_memory_management_functions(&Allocate, &Deallocate); }

private:
    static constexpr std::size_t kHeader = 16;  // keeps the malloc alignment
    static constexpr std::size_t kGranule = 4096;
    static constexpr std::size_t kClasses = 17;  // sizes up to 64 KiB
    static constexpr std::size_t kPoolBytes = 64u << 20;

    // Pooled class of a request (its size in granules); 0 for sizes that are not pooled.
    static std::size_t Class(std::size_t size)
    {
        if (size < 8 * kGranule || size + kHeader > (kClasses - 1) * kGranule)
            return 0;
        return (size + kHeader + kGranule - 1) / kGranule;
    }
    static TPagePool& Instance()
    {
        // Never destroyed: documents of static objects may free their pages at exit.
        static TPagePool* pool = new TPagePool;
        return *pool;
    }

    std::mutex mutex_;
    std::vector<void*> free_[kClasses];
    std::size_t pooled_ = 0;
};

// Before any document exists: pugixml must free a page through the function that took it.
const bool g_poolInstalled = (TPagePool::Install(), true);

pugi::xml_node N(const IXMLNode& h) { return pugi::xml_node(static_cast<pugi::xml_node_struct*>(h.Handle())); }
IXMLNode H(pugi::xml_node n) { return IXMLNode(n ? n.internal_object() : nullptr); }

pugi::xml_node Valid(const IXMLNode& h)
{
    if (h.IsNull())
        throw EXMLDocError(u"Invalid node");
    return N(h);
}

// UTF-8 form of a name or value in a reusable per-thread buffer: building a 24 000-attribute
// table otherwise spends much of its time allocating short strings.
const char* Utf8Buf(StringView text, int slot)
{
    thread_local std::string buffers[2];
    std::string& b = buffers[slot];
    b.resize(text.size());
    char* p = b.data();
    for (char16_t c : text) {
        if (c >= 0x80) {
            b = StringToUtf8(text);
            return b.c_str();
        }
        *p++ = static_cast<char>(c);
    }
    return b.c_str();
}
const char* NameUtf8(StringView name) { return Utf8Buf(name, 0); }
const char* ValueUtf8(StringView value) { return Utf8Buf(value, 1); }

String Text16(const char* s) { return Utf8ToString(s ? std::string_view(s) : std::string_view()); }

bool IsTextKind(pugi::xml_node n) { return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata; }

bool TextOnly(pugi::xml_node n)
{
    if (n.type() != pugi::node_element || !n.first_child())
        return false;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (!IsTextKind(c))
            return false;
    return true;
}

String JoinedText(pugi::xml_node n)
{
    std::string s;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        s += c.value();
    return Utf8ToString(s);
}

[[noreturn]] void NotTextElement(pugi::xml_node n)
{
    throw EXMLDocError(u"Element \"" + Text16(n.name()) + u"\" does not contain a single text node");
}

// Escapes the output for Sink. CR and TAB reach it only from values (indentation is spaces
// and LF), and a reader would fold them, so they are written as character references.
template <class Sink>
class EscapingWriter final : public pugi::xml_writer {
public:
    explicit EscapingWriter(Sink& sink) : sink_(sink) {}
    void write(const void* data, std::size_t size) override
    {
        const char* p = static_cast<const char*>(data);
        const char* end = p + size;
        while (p < end) {
            const char* q = p;
            while (q < end && *q != '\r' && *q != '\t')
                ++q;
            sink_.Put(p, static_cast<std::size_t>(q - p));
            if (q == end)
                break;
            if (*q == '\r')
                sink_.Put("&#13;", 5);
            else
                sink_.Put("&#9;", 4);
            p = q + 1;
        }
    }

private:
    Sink& sink_;
};

struct StringSink {
    std::string out;
    void Put(const char* p, std::size_t n) { out.append(p, n); }
};

// Straight into the temporary file through the document's save buffer: a save touches no
// memory that grows with the document, and no fresh memory once the document saved before.
constexpr std::size_t kSaveBuffer = 64 * 1024;

class FileSink {
public:
    FileSink(TAtomicFileWriter& file, char* buffer) : file_(file), buffer_(buffer) {}
    void Put(const char* p, std::size_t n)
    {
        if (n > kSaveBuffer - used_) {
            Flush();
            if (n > kSaveBuffer) {
                file_.Write(p, n);
                return;
            }
        }
        std::memcpy(buffer_ + used_, p, n);
        used_ += n;
    }
    bool Flush()
    {
        const bool ok = file_.Write(buffer_, used_);
        used_ = 0;
        return ok;
    }

private:
    TAtomicFileWriter& file_;
    char* buffer_;
    std::size_t used_ = 0;
};

constexpr unsigned kSaveFlags = pugi::format_indent | pugi::format_no_declaration;

} // namespace

// ---- TXMLValue -------------------------------------------------------------------------

namespace {
[[noreturn]] void NullToText()
{
    throw EConvertError(u"Could not convert variant of type (Null) into type (String)");
}
} // namespace

String TXMLValue::AsString() const&
{
    if (null_)
        NullToText();
    return text_;
}

String TXMLValue::AsString() &&
{
    if (null_)
        NullToText();
    return std::move(text_);
}

int TXMLValue::AsInteger() const { return StrToInt(AsString()); }

int TXMLValue::AsIntegerDef(int Default) const { return null_ ? Default : StrToIntDef(text_, Default); }

// ---- IXMLNode --------------------------------------------------------------------------

TNodeType IXMLNode::NodeType() const
{
    switch (Valid(*this).type()) {
    case pugi::node_element: return ntElement;
    case pugi::node_pcdata: return ntText;
    case pugi::node_cdata: return ntCData;
    case pugi::node_comment: return ntComment;
    case pugi::node_pi:
    case pugi::node_declaration: return ntProcessingInstr;
    case pugi::node_doctype: return ntDocType;
    case pugi::node_document: return ntDocument;
    default: return ntReserved;
    }
}

String IXMLNode::NodeName() const
{
    const pugi::xml_node n = Valid(*this);
    switch (n.type()) {
    case pugi::node_pcdata: return u"#text";
    case pugi::node_cdata: return u"#cdata-section";
    case pugi::node_comment: return u"#comment";
    case pugi::node_document: return u"#document";
    default: return Text16(n.name());
    }
}

bool IXMLNode::IsTextElement() const { return TextOnly(Valid(*this)); }

String IXMLNode::Text() const
{
    const pugi::xml_node n = Valid(*this);
    if (n.type() == pugi::node_element) {
        if (!n.first_child())
            return String();
        if (!TextOnly(n))
            NotTextElement(n);
        return JoinedText(n);
    }
    if (n.type() == pugi::node_document)
        return String();
    return Text16(n.value());
}

void IXMLNode::SetText(const String& Value)
{
    pugi::xml_node n = Valid(*this);
    if (n.type() == pugi::node_element) {
        n.remove_children();
        if (!Value.empty())
            n.append_child(pugi::node_pcdata).set_value(ValueUtf8(Value));
        Mutated();
        return;
    }
    if (!n.set_value(StringToUtf8(Value).c_str()))
        throw EXMLDocError(u"Cannot set the text of this node");
}

TXMLValue IXMLNode::NodeValue() const
{
    const pugi::xml_node n = Valid(*this);
    switch (n.type()) {
    case pugi::node_element:
        if (!n.first_child())
            return TXMLValue();
        if (!TextOnly(n))
            NotTextElement(n);
        return TXMLValue(JoinedText(n));
    case pugi::node_document:
        return TXMLValue();
    default:
        return TXMLValue(Text16(n.value()));
    }
}

void IXMLNode::SetNodeValue(const String& Value) { SetText(Value); }

namespace {

bool IsAscii(StringView text)
{
    for (char16_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// An ASCII UTF-16 name against the UTF-8 name pugixml holds, compared where they lie.
bool SameAsciiName(const char* utf8, StringView name)
{
    for (char16_t c : name) {
        if (static_cast<unsigned char>(*utf8) != c)
            return false;  // also at the end of the shorter UTF-8 name
        ++utf8;
    }
    return *utf8 == 0;
}

// The named attribute, searched from Hint on and then from the first one. Names of this
// program are ASCII and are compared without converting; others are converted for the call.
pugi::xml_attribute FindAttribute(pugi::xml_node n, StringView name, pugi::xml_attribute hint)
{
    if (!IsAscii(name))
        return n.attribute(NameUtf8(name));
    for (pugi::xml_attribute a = hint ? hint : n.first_attribute(); a; a = a.next_attribute())
        if (SameAsciiName(a.name(), name))
            return a;
    if (hint)
        for (pugi::xml_attribute a = n.first_attribute(); a != hint; a = a.next_attribute())
            if (SameAsciiName(a.name(), name))
                return a;
    return pugi::xml_attribute();
}

} // namespace

bool IXMLNode::HasAttribute(StringView Name) const
{
    return static_cast<bool>(FindAttribute(Valid(*this), Name, pugi::xml_attribute()));
}

TXMLValue IXMLNode::Attributes(StringView Name) const
{
    // Rows are read attribute after attribute in file order: starting the search after the
    // attribute found last makes each lookup one comparison.
    // Attributes are only freed with their node, which bumps the generation.
    // Plain values only, so the per-thread hint needs no initialisation call on each access.
    struct Hint {
        void* node;
        std::uint64_t generation;
        pugi::xml_attribute_struct* next;
    };
    thread_local Hint hint{nullptr, 0, nullptr};
    const pugi::xml_node n = Valid(*this);
    const std::uint64_t gen = g_generation.load(std::memory_order_relaxed);
    if (hint.node != node_ || hint.generation != gen)
        hint = Hint{node_, gen, nullptr};
    const pugi::xml_attribute a = FindAttribute(n, Name, pugi::xml_attribute(hint.next));
    if (!a)
        return TXMLValue();
    hint.next = a.next_attribute().internal_object();
    return TXMLValue(Text16(a.value()));
}

void IXMLNode::SetAttributes(StringView Name, const String& Value)
{
    pugi::xml_node n = Valid(*this);
    if (n.type() != pugi::node_element)
        throw EXMLDocError(u"Attributes are only allowed on elements");
    const char* name = NameUtf8(Name);
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    a.set_value(ValueUtf8(Value));
}

int IXMLNode::AttributeCount() const
{
    int c = 0;
    for (pugi::xml_attribute a = Valid(*this).first_attribute(); a; a = a.next_attribute())
        ++c;
    return c;
}

String IXMLNode::AttributeName(int Index) const
{
    int i = 0;
    for (pugi::xml_attribute a = Valid(*this).first_attribute(); a; a = a.next_attribute(), ++i)
        if (i == Index)
            return Text16(a.name());
    throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}

IXMLNodeList IXMLNode::ChildNodes() const
{
    Valid(*this);
    return IXMLNodeList(*this);
}

bool IXMLNode::HasChildNodes() const { return static_cast<bool>(Valid(*this).first_child()); }

IXMLNode IXMLNode::AddChild(StringView Name)
{
    pugi::xml_node n = Valid(*this);
    if (n.type() != pugi::node_element && n.type() != pugi::node_document)
        throw EXMLDocError(u"Cannot add a child to this node");
    if (n.type() == pugi::node_document && n.find_child([](pugi::xml_node x) { return x.type() == pugi::node_element; }))
        throw EXMLDocError(u"Only one top level element is allowed in an XML document");
    pugi::xml_node c = n.append_child(pugi::node_element);
    c.set_name(NameUtf8(Name));
    Mutated();
    return H(c);
}

IXMLNode IXMLNode::AddComment(const String& Text)
{
    pugi::xml_node n = Valid(*this);
    if (n.type() != pugi::node_element && n.type() != pugi::node_document)
        throw EXMLDocError(u"Cannot add a child to this node");
    pugi::xml_node c = n.append_child(pugi::node_comment);
    c.set_value(StringToUtf8(Text).c_str());
    Mutated();
    return H(c);
}

TXMLValue IXMLNode::ChildValues(StringView Name) const
{
    const IXMLNode c = ChildNodes().FindNode(Name);
    return c ? c.NodeValue() : TXMLValue();
}

IXMLNode IXMLNode::ParentNode() const { return H(Valid(*this).parent()); }
IXMLNode IXMLNode::NextSibling() const { return H(Valid(*this).next_sibling()); }
IXMLNode IXMLNode::PreviousSibling() const { return H(Valid(*this).previous_sibling()); }

// ---- IXMLNodeList ----------------------------------------------------------------------

int IXMLNodeList::Count() const
{
    ChildCursor& c = CacheFor(parent_.Handle());
    if (c.count < 0) {
        int n = 0;
        for (pugi::xml_node x = Valid(parent_).first_child(); x; x = x.next_sibling())
            ++n;
        c.count = n;
    }
    return c.count;
}

IXMLNode IXMLNodeList::Nodes(int Index) const
{
    const pugi::xml_node parent = Valid(parent_);
    if (Index >= 0) {
        ChildCursor& c = CacheFor(parent_.Handle());
        pugi::xml_node n;
        int i;
        if (c.node && c.index <= Index) {
            n = pugi::xml_node(c.node);
            i = c.index;
        } else if (c.node && c.index == Index + 1) {
            n = pugi::xml_node(c.node).previous_sibling();
            i = Index;
        } else {
            n = parent.first_child();
            i = 0;
        }
        while (n && i < Index) {
            n = n.next_sibling();
            ++i;
        }
        if (n) {
            c.node = n.internal_object();
            c.index = Index;
            return H(n);
        }
    }
    throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}

IXMLNode IXMLNodeList::Nodes(StringView Name) const
{
    const IXMLNode n = FindNode(Name);
    if (!n)
        throw EXMLDocError(u"Node \"" + String(Name) + u"\" not found");
    return n;
}

IXMLNode IXMLNodeList::FindNode(StringView Name) const
{
    return H(Valid(parent_).child(NameUtf8(Name)));
}

int IXMLNodeList::IndexOf(IXMLNode Node) const
{
    int i = 0;
    for (pugi::xml_node x = Valid(parent_).first_child(); x; x = x.next_sibling(), ++i)
        if (x.internal_object() == Node.Handle())
            return i;
    return -1;
}

IXMLNode IXMLNodeList::First() const { return H(Valid(parent_).first_child()); }
IXMLNode IXMLNodeList::Last() const { return H(Valid(parent_).last_child()); }

void IXMLNodeList::Delete(int Index)
{
    const IXMLNode n = Nodes(Index);
    Valid(parent_).remove_child(N(n));
    Mutated();
}

void IXMLNodeList::Clear()
{
    Valid(parent_).remove_children();
    Mutated();
}

// ---- TXMLDocument ----------------------------------------------------------------------

struct TXMLDocument::Impl {
    pugi::xml_document doc;
    std::string source;  // text store of a document parsed in place
    std::unique_ptr<char[]> saveBuffer;  // kept from one save to the next
};

TXMLDocument::TXMLDocument(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {}

TXMLDocument::~TXMLDocument() { Mutated(); }

void TXMLDocument::SetActive(bool Value)
{
    if (!Value && active_) {
        impl_->doc.reset();
        impl_->source = std::string();
        Mutated();
    }
    active_ = Value;
}

void TXMLDocument::LoadFromFile(const String& FileName, std::int64_t Cap)
{
    std::string bytes;
    String error;
    if (!ReadRegularFile(FileName, bytes, Cap, &error))
        throw EXMLDocError(error);
    LoadOwnedBytes(std::move(bytes));
}

namespace {

// Parses in place: the document keeps the file's bytes as its text store instead of copying
// them (pugixml converts on its own when the bytes are not UTF-8).
void Load(pugi::xml_document& doc, std::string& source, pugi::xml_encoding enc)
{
    // Comments, declarations and processing instructions are not kept: the first node of a
    // loaded document is its root element. Text made only of blanks is kept when it is an
    // element's whole content (a password of blanks must read back as written); blanks
    // between elements are indentation and are dropped.
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result r = doc.load_buffer_inplace(source.data(), source.size(), options, enc);
    Mutated();
    if (!r) {
        doc.reset();
        source.clear();
        throw EXMLDocError(Utf8ToString(r.description()) + u" (at byte " +
                           Int64ToStr(static_cast<std::int64_t>(r.offset)) + u")");
    }
    // pugixml accepts several top-level elements; a DOM reader does not.
    int elements = 0;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element)
            ++elements;
    if (elements != 1) {
        doc.reset();
        source.clear();
        throw EXMLDocError(elements == 0 ? String(u"No document element found")
                                         : String(u"Only one top level element is allowed in an XML document"));
    }
}

} // namespace

namespace {

// The encoding named by a leading declaration, in lower case; "" when there is none.
std::string DeclaredEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 5) != "<?xml")
        return {};
    const auto end = bytes.find("?>");
    const std::string_view decl = bytes.substr(0, end);
    const auto at = decl.find("encoding");
    if (at == std::string_view::npos)
        return {};
    auto q = decl.find_first_of("\"'", at);
    if (q == std::string_view::npos)
        return {};
    const auto close = decl.find(decl[q], q + 1);
    if (close == std::string_view::npos)
        return {};
    std::string e(decl.substr(q + 1, close - q - 1));
    for (char& c : e)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return e;
}

} // namespace

void TXMLDocument::LoadFromBytes(std::string_view Bytes) { LoadOwnedBytes(std::string(Bytes)); }

void TXMLDocument::LoadOwnedBytes(std::string&& Bytes)
{
    active_ = true;
    // The old nodes may point into the old text store: they go first.
    impl_->doc.reset();
    impl_->source = std::move(Bytes);
    // pugixml knows UTF-8/16/32 and Latin-1; files from Windows tools may declare their ANSI
    // code page, which is decoded here.
    const std::string enc = DeclaredEncoding(impl_->source);
    if (enc == "windows-1252" || enc == "cp1252" || enc == "x-cp1252") {
        impl_->source = StringToUtf8(AnsiToString(impl_->source));
        Load(impl_->doc, impl_->source, pugi::encoding_utf8);
        return;
    }
    Load(impl_->doc, impl_->source, pugi::encoding_auto);
}

void TXMLDocument::LoadFromXML(StringView Xml)
{
    active_ = true;
    impl_->doc.reset();
    impl_->source = StringToUtf8(Xml);
    Load(impl_->doc, impl_->source, pugi::encoding_utf8);
}

std::string TXMLDocument::SaveToBytes() const
{
    StringSink sink;
    EscapingWriter<StringSink> w(sink);
    impl_->doc.save(w, "  ", kSaveFlags, pugi::encoding_utf8);
    return std::move(sink.out);
}

void TXMLDocument::SaveToFile(const String& FileName) const
{
    TAtomicFileWriter file(FileName);
    if (!impl_->saveBuffer)
        impl_->saveBuffer = std::make_unique<char[]>(kSaveBuffer);
    FileSink sink(file, impl_->saveBuffer.get());
    EscapingWriter<FileSink> w(sink);
    impl_->doc.save(w, "  ", kSaveFlags, pugi::encoding_utf8);
    if (!sink.Flush() || !file.Commit())
        throw EXMLDocError(u"Cannot save file \"" + FileName + u"\"");
}

String TXMLDocument::XML() const { return Utf8ToString(SaveToBytes()); }

void TXMLDocument::Clear()
{
    impl_->doc.reset();
    impl_->source = std::string();
    Mutated();
}

IXMLNode TXMLDocument::Node() const { return H(impl_->doc); }

IXMLNode TXMLDocument::DocumentElement() const { return H(impl_->doc.document_element()); }

IXMLNode TXMLDocument::AddChild(StringView Name)
{
    active_ = true;
    return Node().AddChild(Name);
}

IXMLNode TXMLDocument::AddComment(const String& Text)
{
    active_ = true;
    return Node().AddComment(Text);
}

} // namespace plat
