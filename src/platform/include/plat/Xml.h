#pragma once
// XML document component in the shape of the framework's DOM wrapper: a document owns the
// nodes; IXMLNode and IXMLNodeList are cheap handles valid while their node is in the
// document (Clear and LoadFromFile end them).
//
// Reading: comments, declarations, processing instructions and whitespace-only text of a
// loaded file are dropped, so DocumentElement and ChildNodes()[0] of the document are the first
// element even after a declaration or comment written by another tool.
// Writing: UTF-8, indented, no XML declaration, replacing the file atomically. Attribute values
// and element texts keep CR, LF, quotes, "&", "<" and non-ASCII characters through a save and a
// load.
// Errors: load and save failures (also a file with no or several top-level elements), a missing
// node asked for by name, text of an element with child elements and any use of a null node
// raise EXMLDocError; a missing attribute read as text raises EConvertError.
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/Files.h"
#include "plat/String.h"

namespace plat {

class EXMLDocError : public Exception { using Exception::Exception; };

enum TNodeType {
    ntReserved,
    ntElement,
    ntAttribute,
    ntText,
    ntCData,
    ntEntityRef,
    ntEntity,
    ntProcessingInstr,
    ntComment,
    ntDocument,
    ntDocType,
    ntDocFragment,
    ntNotation
};

// A value that may be null, as attribute and node values are. Reading a null value as text
// or number raises EConvertError; the *Def forms give the caller's default instead.
class TXMLValue {
public:
    TXMLValue() = default;
    explicit TXMLValue(String Text) : text_(std::move(Text)), null_(false) {}
    bool IsNull() const { return null_; }
    String AsString() const&;
    String AsString() &&;
    operator String() const& { return AsString(); }
    operator String() && { return std::move(*this).AsString(); }
    int AsInteger() const;  // StrToInt rules
    String AsStringDef(const String& Default) const { return null_ ? Default : text_; }
    int AsIntegerDef(int Default) const;

private:
    String text_;
    bool null_ = true;
};

class IXMLNodeList;

class IXMLNode {
public:
    IXMLNode() = default;
    explicit IXMLNode(void* Node) : node_(Node) {}  // pugixml node struct
    void* Handle() const { return node_; }
    bool IsNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    friend bool operator==(const IXMLNode&, const IXMLNode&) = default;

    TNodeType NodeType() const;
    String NodeName() const;  // element name; "#text", "#comment", "#document" for the others
    // Element text: "" without children, the text of a text-only element; EXMLDocError when
    // the element holds other elements. Setting replaces every child with one text node.
    String Text() const;
    void SetText(const String& Value);
    bool IsTextElement() const;
    // Value of a text or comment node, or of a text element; null for an empty element.
    TXMLValue NodeValue() const;
    void SetNodeValue(const String& Value);

    bool HasAttribute(StringView Name) const;
    TXMLValue Attributes(StringView Name) const;  // null when missing
    void SetAttributes(StringView Name, const String& Value);  // added at the end when new
    int AttributeCount() const;
    String AttributeName(int Index) const;

    IXMLNodeList ChildNodes() const;
    bool HasChildNodes() const;
    IXMLNode AddChild(StringView Name);  // new element after the last child
    IXMLNode AddComment(const String& Text);
    // Text of the named child element (FindNode + NodeValue); null when the child is missing.
    TXMLValue ChildValues(StringView Name) const;

    IXMLNode ParentNode() const;
    IXMLNode NextSibling() const;
    IXMLNode PreviousSibling() const;

private:
    void* node_ = nullptr;
};

// The child nodes of one node, in document order.
class IXMLNodeList {
public:
    explicit IXMLNodeList(IXMLNode Parent) : parent_(Parent) {}
    int Count() const;
    IXMLNode Nodes(int Index) const;         // EListError when out of range
    IXMLNode operator[](int Index) const { return Nodes(Index); }
    IXMLNode Nodes(StringView Name) const;   // EXMLDocError "Node \"<name>\" not found"
    IXMLNode operator[](StringView Name) const { return Nodes(Name); }
    IXMLNode FindNode(StringView Name) const;  // first element of that name; null when none
    int IndexOf(IXMLNode Node) const;
    IXMLNode First() const;
    IXMLNode Last() const;
    void Delete(int Index);
    void Clear();

private:
    IXMLNode parent_;
};

class TXMLDocument : public TComponent {
public:
    explicit TXMLDocument(TComponent* AOwner = nullptr);
    ~TXMLDocument() override;
    String ClassName() const override { return u"TXMLDocument"; }

    bool Active() const { return active_; }
    void SetActive(bool Value);  // going inactive drops the nodes

    // Activates; EXMLDocError with the parse error, or with the reason the file was refused
    // (plat/Files.h ReadRegularFile: only regular files, at most Cap bytes).
    void LoadFromFile(const String& FileName, std::int64_t Cap = kXmlFileCap);
    void LoadFromXML(StringView Xml);
    // Where the last load failed: the byte offset in the text parsed (for LoadFromXML its
    // UTF-8 form; the end of the text when it holds no or several top-level elements), -1
    // after a load that succeeded.
    std::int64_t ErrorOffset() const;
    // Encoding from the byte-order mark, else the declaration (UTF-8/16, Latin-1, Windows-1252).
    void LoadFromBytes(std::string_view Bytes);
    // The same, keeping Bytes as the document's text store instead of copying it.
    void LoadOwnedBytes(std::string&& Bytes);
    void SaveToFile(const String& FileName) const;  // EXMLDocError when it cannot be written
    std::string SaveToBytes() const;                // UTF-8
    String XML() const;

    void Clear();  // removes every node of the document
    IXMLNode Node() const;  // the document node itself
    IXMLNodeList ChildNodes() const { return Node().ChildNodes(); }
    // First top-level element; null when there is none.
    IXMLNode DocumentElement() const;
    // Adds a top-level element (the root of an empty document) or comment after the last node.
    IXMLNode AddChild(StringView Name);
    IXMLNode AddComment(const String& Text);

private:
    // Parses Bytes in place as the new text store; Utf8: known to be UTF-8, else detected.
    void LoadText(std::string&& Bytes, bool Utf8);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool active_ = false;
};

} // namespace plat
