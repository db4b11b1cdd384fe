#include "plat/Xml.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
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

// pugixml takes its memory in pages of 32 KiB (larger ones only for very long texts) and
// frees each page when the last node on it goes. A large document is thousands of such
// pages: taken one by one from the C allocator they are faulted in 4 KiB at a time, and
// given back and faulted in again on every load, so reading grew slower per node as files
// grew. The 32 KiB pages are therefore cut from chunks of 2 MiB in huge pages (one fault per
// chunk); a chunk whose pages are all free again is kept for the next document while at most
// kRetainBytes are kept, else given back. Other sizes go to the C allocator.
class TPageArena {
public:
    static void* Allocate(std::size_t size)
    {
        if (size == kPage) {
            TPageArena& a = Instance();
            std::lock_guard lock(a.mutex_);
            if (void* p = a.TakeSlot())
                return p;
        }
        void* block = std::malloc(size + kTag);
        if (!block)
            return nullptr;
        *static_cast<std::size_t*>(block) = kFromMalloc;
        return static_cast<char*>(block) + kTag;
    }
    static void Deallocate(void* ptr)
    {
        if (!ptr)
            return;
        char* slot = static_cast<char*>(ptr) - kTag;
        if (*reinterpret_cast<std::size_t*>(slot) == kFromMalloc) {
            std::free(slot);
            return;
        }
        TPageArena& a = Instance();
        std::lock_guard lock(a.mutex_);
        a.GiveSlot(slot);
    }
    static void Install() { pugi::set_memory_management_functions(&Allocate, &Deallocate); }

private:
    static constexpr std::size_t kPage = 32768;  // pugixml's page request
    static constexpr std::size_t kTag = 16;      // before every block; keeps malloc alignment
    static constexpr std::size_t kFromMalloc = 0;
    static constexpr std::size_t kFromChunk = 1;
    static constexpr std::size_t kSlot = (kTag + kPage + 63) / 64 * 64;
    static constexpr std::size_t kRetainBytes = 64u << 20;

    struct Chunk {
        Chunk* prev = nullptr;  // in the list of chunks with a free slot, or of empty chunks
        Chunk* next = nullptr;
        char* freeSlots = nullptr;  // slots given back, linked through their first bytes
        std::size_t used = 0;       // slots in use
        std::size_t fresh = 0;      // slots never handed out yet start here
    };
    static constexpr std::size_t kFirstSlot = (sizeof(Chunk) + 63) / 64 * 64;
    static constexpr std::size_t kSlots = (kHugePageSize - kFirstSlot) / kSlot;
    static_assert(kSlots >= 32);

    static Chunk* ChunkOf(char* slot)
    {
        return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(slot) & ~(std::uintptr_t{kHugePageSize} - 1));
    }
    static void Unlink(Chunk*& head, Chunk* c)
    {
        (c->prev ? c->prev->next : head) = c->next;
        if (c->next)
            c->next->prev = c->prev;
        c->prev = c->next = nullptr;
    }
    static void Push(Chunk*& head, Chunk* c)
    {
        c->prev = nullptr;
        c->next = head;
        if (head)
            head->prev = c;
        head = c;
    }

    void* TakeSlot()
    {
        Chunk* c = open_;
        if (!c) {
            if (empty_) {
                c = empty_;
                Unlink(empty_, c);
                retained_ -= kHugePageSize;
            } else {
                void* memory = AllocatePages(kHugePageSize);
                if (!memory)
                    return nullptr;
                c = new (memory) Chunk;
            }
            *c = Chunk{};
            Push(open_, c);
        }
        char* slot;
        if (c->freeSlots) {
            slot = c->freeSlots;
            c->freeSlots = *reinterpret_cast<char**>(slot + kTag);
        } else {
            slot = reinterpret_cast<char*>(c) + kFirstSlot + c->fresh++ * kSlot;
        }
        if (++c->used == kSlots)
            Unlink(open_, c);
        *reinterpret_cast<std::size_t*>(slot) = kFromChunk;
        return slot + kTag;
    }

    void GiveSlot(char* slot)
    {
        Chunk* c = ChunkOf(slot);
        *reinterpret_cast<char**>(slot + kTag) = c->freeSlots;
        c->freeSlots = slot;
        if (c->used-- == kSlots)
            Push(open_, c);
        if (c->used != 0)
            return;
        Unlink(open_, c);
        if (retained_ + kHugePageSize <= kRetainBytes) {
            Push(empty_, c);
            retained_ += kHugePageSize;
        } else {
            FreePages(c, kHugePageSize);
        }
    }

    static TPageArena& Instance()
    {
        // Never destroyed: documents of static objects may free their pages at exit.
        static TPageArena* arena = new TPageArena;
        return *arena;
    }

    std::mutex mutex_;
    Chunk* open_ = nullptr;   // chunks with a free slot
    Chunk* empty_ = nullptr;  // chunks with no slot in use, kept for reuse
    std::size_t retained_ = 0;
};

// Before any document exists: pugixml must free a page through the function that took it.
const bool g_poolInstalled = (TPageArena::Install(), true);

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
    // The text stores outlive the nodes that point into them (members go in reverse order).
    std::string source;  // text store of a document parsed in place
    TFileBytes file;     // the same for a document read from its file
    pugi::xml_document doc;
    std::unique_ptr<char[]> saveBuffer;  // kept from one save to the next
    std::int64_t errorOffset = -1;
};

TXMLDocument::TXMLDocument(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {}

TXMLDocument::~TXMLDocument() { Mutated(); }

std::int64_t TXMLDocument::ErrorOffset() const { return impl_->errorOffset; }

void TXMLDocument::SetActive(bool Value)
{
    if (!Value && active_) {
        impl_->doc.reset();
        impl_->source = std::string();
        impl_->file.Clear();
        Mutated();
    }
    active_ = Value;
}

namespace {

// The byte offset of the first "&" in text or in an attribute value that does not start a
// reference ("&name;", "&#digits;", "&#xhex;"), or -1. pugixml keeps such an "&" as text, which
// would let a document that other XML readers refuse load here. Comments, CDATA sections,
// processing instructions and the document type are skipped. Named references other than the
// five predefined ones need a document type with an internal subset to be declared in.
// Markup is ASCII, so the scan reads code units of one byte or of UTF-16 in either order; other
// encodings are left to the parser.
std::int64_t BareAmpersand(const char* data, std::size_t size, pugi::xml_encoding enc)
{
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    std::size_t w = 1;
    bool big = false;
    if (enc == pugi::encoding_auto && size >= 2) {
        if ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == '<' && b[1] == 0)) {
            if (size >= 4 && b[2] == 0 && b[3] == 0)
                return -1;  // UTF-32
            w = 2;
        } else if ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0 && b[1] == '<')) {
            w = 2;
            big = true;
        } else if (b[0] == 0 && b[1] == 0) {
            return -1;  // UTF-32
        }
    }
    const std::size_t n = size / w;
    auto at = [&](std::size_t i) -> unsigned {
        if (i >= n)
            return 0;
        if (w == 1)
            return b[i];
        return big ? (b[2 * i] << 8 | b[2 * i + 1]) : (b[2 * i] | b[2 * i + 1] << 8);
    };
    auto startsWith = [&](std::size_t i, const char* s) {
        for (; *s; ++s, ++i)
            if (at(i) != static_cast<unsigned char>(*s))
                return false;
        return true;
    };
    auto skipPast = [&](std::size_t i, const char* s) {
        for (; i < n; ++i)
            if (startsWith(i, s))
                return i + std::strlen(s);
        return n;
    };
    auto isNameStart = [](unsigned c) { return c >= 0x80 || c == '_' || c == ':' || (c | 32) - 'a' < 26; };
    auto isName = [&](unsigned c) { return isNameStart(c) || c == '-' || c == '.' || c - '0' < 10; };
    bool declared = false;  // entities may be declared in an internal subset
    // True when the "&" at i starts a reference.
    auto reference = [&](std::size_t i) {
        std::size_t j = i + 1;
        if (at(j) == '#') {
            ++j;
            const bool hex = at(j) == 'x';
            if (hex)
                ++j;
            const std::size_t first = j;
            while (j < n && (at(j) - '0' < 10 || (hex && (at(j) | 32) - 'a' < 6)))
                ++j;
            return j > first && at(j) == ';';
        }
        if (!isNameStart(at(j)))
            return false;
        std::string name;
        while (j < n && isName(at(j)) && name.size() < 64)
            name += static_cast<char>(at(j) < 0x80 ? at(j) : '?'), ++j;
        if (at(j) != ';')
            return false;
        return declared || name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos";
    };
    std::size_t i = 0;
    if (w == 2 && (at(0) == 0xFEFF))
        i = 1;
    while (i < n) {
        const unsigned c = at(i);
        if (c == '&') {
            if (!reference(i))
                return static_cast<std::int64_t>(i * w);
            ++i;
        } else if (c != '<') {
            ++i;
        } else if (startsWith(i, "<!--")) {
            i = skipPast(i + 4, "-->");
        } else if (startsWith(i, "<![CDATA[")) {
            i = skipPast(i + 9, "]]>");
        } else if (startsWith(i, "<?")) {
            i = skipPast(i + 2, "?>");
        } else if (startsWith(i, "<!")) {
            // Document type: up to its ">" outside the internal subset and quotes.
            int depth = 0;
            unsigned quote = 0;
            for (++i; i < n; ++i) {
                const unsigned d = at(i);
                if (quote) {
                    if (d == quote)
                        quote = 0;
                } else if (d == '"' || d == '\'') {
                    quote = d;
                } else if (d == '[') {
                    ++depth;
                    declared = true;
                } else if (d == ']') {
                    --depth;
                } else if (d == '>' && depth <= 0) {
                    ++i;
                    break;
                }
            }
        } else {
            // A tag: attribute values are checked like text.
            unsigned quote = 0;
            for (++i; i < n; ++i) {
                const unsigned d = at(i);
                if (quote) {
                    if (d == quote)
                        quote = 0;
                    else if (d == '&' && !reference(i))
                        return static_cast<std::int64_t>(i * w);
                } else if (d == '"' || d == '\'') {
                    quote = d;
                } else if (d == '>') {
                    ++i;
                    break;
                }
            }
        }
    }
    return -1;
}

// Parses in place: the document keeps the bytes as its text store instead of copying them
// (pugixml converts on its own when the bytes are not UTF-8). On failure the document is
// empty and the message to raise is returned.
String Parse(pugi::xml_document& doc, char* data, std::size_t size, pugi::xml_encoding enc,
             std::int64_t& errorOffset)
{
    // Comments, declarations and processing instructions are not kept: the first node of a
    // loaded document is its root element. Text made only of blanks is kept when it is an
    // element's whole content (a password of blanks must read back as written); blanks
    // between elements are indentation and are dropped.
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    if (const std::int64_t amp = BareAmpersand(data, size, enc); amp >= 0) {
        Mutated();
        doc.reset();
        errorOffset = amp;
        return u"Unescaped \"&\" or undeclared entity (at byte " + Int64ToStr(amp) + u")";
    }
    const pugi::xml_parse_result r = doc.load_buffer_inplace(data, size, options, enc);
    Mutated();
    errorOffset = -1;
    if (!r) {
        errorOffset = static_cast<std::int64_t>(r.offset);
        doc.reset();
        return Utf8ToString(r.description()) + u" (at byte " + Int64ToStr(static_cast<std::int64_t>(r.offset)) +
               u")";
    }
    // pugixml accepts several top-level elements; a DOM reader does not.
    int elements = 0;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element)
            ++elements;
    if (elements != 1) {
        errorOffset = static_cast<std::int64_t>(size);
        doc.reset();
        return elements == 0 ? String(u"No document element found")
                             : String(u"Only one top level element is allowed in an XML document");
    }
    return String();
}

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

// pugixml knows UTF-8/16/32 and Latin-1; files from Windows tools may declare their ANSI
// code page, which is decoded before parsing.
bool DeclaresWindows1252(std::string_view bytes)
{
    const std::string enc = DeclaredEncoding(bytes);
    return enc == "windows-1252" || enc == "cp1252" || enc == "x-cp1252";
}

} // namespace

void TXMLDocument::LoadFromFile(const String& FileName, std::int64_t Cap)
{
    TFileBytes bytes;
    String error;
    if (!ReadRegularFile(FileName, bytes, Cap, &error)) {
        // As after a parse error: nothing of the previous document is left to be taken for
        // the file's content.
        active_ = true;
        Clear();
        throw EXMLDocError(error);
    }
    if (DeclaresWindows1252(bytes.view())) {
        LoadText(StringToUtf8(AnsiToString(bytes.view())), true);
        return;
    }
    active_ = true;
    // The old nodes may point into the old text store: they go first.
    impl_->doc.reset();
    impl_->source = std::string();
    impl_->file = std::move(bytes);
    const String message = Parse(impl_->doc, impl_->file.data(), impl_->file.size(), pugi::encoding_auto, impl_->errorOffset);
    if (!message.empty()) {
        impl_->file.Clear();
        throw EXMLDocError(message);
    }
}

void TXMLDocument::LoadText(std::string&& Bytes, bool Utf8)
{
    active_ = true;
    // The old nodes may point into the old text store: they go first.
    impl_->doc.reset();
    impl_->file.Clear();
    impl_->source = std::move(Bytes);
    const String message =
        Parse(impl_->doc, impl_->source.data(), impl_->source.size(), Utf8 ? pugi::encoding_utf8 : pugi::encoding_auto,
              impl_->errorOffset);
    if (!message.empty()) {
        impl_->source.clear();
        throw EXMLDocError(message);
    }
}

void TXMLDocument::LoadFromBytes(std::string_view Bytes) { LoadOwnedBytes(std::string(Bytes)); }

void TXMLDocument::LoadOwnedBytes(std::string&& Bytes)
{
    if (DeclaresWindows1252(Bytes)) {
        LoadText(StringToUtf8(AnsiToString(Bytes)), true);
        return;
    }
    LoadText(std::move(Bytes), false);
}

void TXMLDocument::LoadFromXML(StringView Xml) { LoadText(StringToUtf8(Xml), true); }

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
    impl_->file.Clear();
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
