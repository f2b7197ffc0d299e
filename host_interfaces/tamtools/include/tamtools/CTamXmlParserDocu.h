// An XML document that reads UTF-8 and UTF-16 files and writes UTF-16 files.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CTamXmlParserNode;

// XML library choices of the host; every choice is served by the same engine.
enum TamXmlLibrary { TamXMLLIB = 0 };

// An XML document, held by shared pointer. `load` accepts UTF-8 (with or without byte-order
// mark) and UTF-16 in either byte order (with or without mark), with or without declaration,
// and checks the encoding strictly. `save` writes UTF-16 little-endian with a byte-order mark.
// Failures give false and a text in getLastError(); nothing throws out of this class.
class CTamXmlParserDocu {
public:
    // An empty document; `library` is one of TamXmlLibrary.
    explicit CTamXmlParserDocu(int library = TamXMLLIB);
    ~CTamXmlParserDocu();
    CTamXmlParserDocu(const CTamXmlParserDocu&) = delete;
    CTamXmlParserDocu& operator=(const CTamXmlParserDocu&) = delete;

    // Starts a new empty document and returns its document node (the parent of the document
    // element). Nodes handed out before keep the previous content.
    std::shared_ptr<CTamXmlParserNode> initialize();

    // Puts the declaration <?xml version="1.0" encoding="UTF-16"?> first in the document,
    // replacing an existing one. False when the document could not take it.
    bool setDeclarationNode();

    // Replaces the content by the XML file at `path` (wide path, '\' or '/' separators).
    // False, with an empty document, when the file is missing, unreadable, badly encoded or
    // not well-formed XML.
    bool load(const std::wstring& path);

    // As load, from bytes in memory (null with size 0 is an empty input).
    bool loadFromMemory(const void* data, std::size_t size);

    // Writes the document to `path` as UTF-16 LE with byte-order mark; the file is replaced
    // only when the whole document was written. False when it cannot be written.
    bool save(const std::wstring& path);

    // The document as text, as save would write it (without byte-order mark).
    std::wstring toString() const;

    // The document node (parent of the document element). Never null.
    std::shared_ptr<CTamXmlParserNode> getRootNode() const;

    // The document element, or an empty node when the document has none. Never null.
    std::shared_ptr<CTamXmlParserNode> getDocumentElement() const;

    // Reason of the last failed load or save; empty after a success.
    const std::wstring& getLastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
