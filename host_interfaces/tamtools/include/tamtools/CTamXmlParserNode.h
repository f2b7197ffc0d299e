// One node of an XML document held by CTamXmlParserDocu, handed out by shared pointer.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>

// A node of an XML document (the document node itself or an element). A node keeps its
// document's storage alive, so it stays valid after the CTamXmlParserDocu is destroyed or
// reloaded. An empty node (isEmpty) answers every look-up with another empty node, an empty
// list or an empty string, and refuses every change.
class CTamXmlParserNode {
public:
    struct Impl;

    // An empty node.
    CTamXmlParserNode();
    // A node over the engine's node; used by the document. Null gives an empty node.
    explicit CTamXmlParserNode(std::unique_ptr<Impl> impl);
    ~CTamXmlParserNode();
    CTamXmlParserNode(const CTamXmlParserNode&) = delete;
    CTamXmlParserNode& operator=(const CTamXmlParserNode&) = delete;

    // True when the node stands for nothing (missing child, failed look-up, unloaded document).
    bool isEmpty() const;

    // Element name; empty for the document node and for an empty node.
    std::wstring getName() const;

    // First child element named `tag` (exact comparison), or an empty node. Never null.
    std::shared_ptr<CTamXmlParserNode> GetNodeByTag(const std::wstring& tag) const;

    // Every child element named `tag`, in document order; empty list when there is none.
    std::list<std::shared_ptr<CTamXmlParserNode>> GetNodesByTag(const std::wstring& tag) const;

    // Child elements only (no text, comment or declaration nodes), in document order.
    std::list<std::shared_ptr<CTamXmlParserNode>> getChildNodes() const;

    // Value of the attribute `name`, or "" when the attribute is missing.
    std::wstring GetAttributeValue(const std::wstring& name) const;

    // True when the element carries the attribute `name` (even with an empty value).
    bool HasAttribute(const std::wstring& name) const;

    // Concatenated text of the element's direct text and CDATA children; "" when none.
    std::wstring getText() const;

    // As getText when that text holds at most `maxLength` characters; otherwise false with an
    // empty `text`, and a longer text is never copied (a reader of untrusted input can bound its
    // work this way).
    bool getTextUpTo(std::size_t maxLength, std::wstring& text) const;

    // Replaces the element's text by `text`. False on an empty node or the document node.
    bool setText(const std::wstring& text);

    // Parent node (the document node for the document element), or an empty node.
    std::shared_ptr<CTamXmlParserNode> getParentNode() const;

    // Appends a new child element named `name` and returns it. Returns an empty node when this
    // node is empty or is no element/document node, or when `name` is no valid XML name.
    std::shared_ptr<CTamXmlParserNode> AddNode(const std::wstring& name);

    // Sets attribute `name` to `value`, adding it when missing. False on an empty or non-element
    // node or an invalid XML name.
    bool AddAttribute(const std::wstring& name, const std::wstring& value);

    // The engine's node; used inside the XML layer only.
    Impl* impl() const { return m_impl.get(); }

private:
    std::unique_ptr<Impl> m_impl;
};
