#include <tamtools/CTamXmlParserDocu.h>

#include <platform/CodePage.h>
#include <tamtools/CTamXmlParserNode.h>

#include "TamFileIO.h"
#include "XmlInputDecoder.h"
#include "XmlNodeImpl.h"

#include <string>
#include <vector>

namespace {

constexpr unsigned int kOutputFormat = pugi::format_indent;
// Fragment mode keeps top-level text, so that HasSingleDocumentElement can refuse it instead of
// the engine dropping it silently.
constexpr unsigned int kParseOptions = pugi::parse_default | pugi::parse_fragment;

// Collects the engine's output in memory, so a file is only touched once the text is complete.
class BufferWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override {
        const auto* bytes = static_cast<const char*>(data);
        buffer.append(bytes, size);
    }
    std::string buffer;
};

std::wstring ParseErrorText(const pugi::xml_parse_result& result) {
    return L"XML parse error at byte " + std::to_wstring(result.offset) + L": " +
           tam::Utf8ToWideReplacing(result.description());
}

// The engine also accepts fragments (several top-level elements, top-level text); a document
// needs exactly one element at the top and nothing but markup beside it.
bool HasSingleDocumentElement(const pugi::xml_document& document) {
    int elements = 0;
    for (pugi::xml_node child : document.children()) {
        if (child.type() == pugi::node_element) {
            ++elements;
        } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            return false;
        }
    }
    return elements == 1;
}

// A parsed document that owns the text it was parsed from in place (the engine's nodes point
// into it), so a large input is not held twice.
struct OwnedTextDocument : pugi::xml_document {
    std::string text;
};

}  // namespace

struct CTamXmlParserDocu::Impl {
    std::shared_ptr<pugi::xml_document> document = std::make_shared<pugi::xml_document>();
    std::wstring lastError;

    // Parses checked UTF-8 (taken over) into a fresh document; the old one stays with the nodes
    // using it.
    bool parse(std::string&& utf8) {
        auto parsed = std::make_shared<OwnedTextDocument>();
        parsed->text = std::move(utf8);
        const pugi::xml_parse_result result = parsed->load_buffer_inplace(
            &parsed->text[0], parsed->text.size(), kParseOptions, pugi::encoding_utf8);
        if (!result) {
            lastError = ParseErrorText(result);
            return false;
        }
        if (!HasSingleDocumentElement(*parsed)) {
            lastError = L"XML input must hold exactly one document element and no text beside it";
            return false;
        }
        document = parsed;
        return true;
    }

    bool loadBytes(const unsigned char* data, std::size_t size) {
        document = std::make_shared<pugi::xml_document>();
        lastError.clear();
        std::string utf8;
        if (!TamXmlBytesToUtf8(data, size, utf8, lastError)) {
            return false;
        }
        return parse(std::move(utf8));
    }

    std::string serialize(pugi::xml_encoding encoding, unsigned int flags) const {
        BufferWriter writer;
        document->save(writer, "  ", kOutputFormat | flags, encoding);
        return writer.buffer;
    }
};

CTamXmlParserDocu::CTamXmlParserDocu(int /*library*/) : m_impl(std::make_unique<Impl>()) {}

CTamXmlParserDocu::~CTamXmlParserDocu() = default;

std::shared_ptr<CTamXmlParserNode> CTamXmlParserDocu::initialize() {
    m_impl->document = std::make_shared<pugi::xml_document>();
    m_impl->lastError.clear();
    return getRootNode();
}

bool CTamXmlParserDocu::setDeclarationNode() {
    pugi::xml_document& document = *m_impl->document;
    pugi::xml_node declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration) {
        declaration = document.prepend_child(pugi::node_declaration);
    }
    if (!declaration) {
        return false;
    }
    declaration.remove_attributes();
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-16");
    return true;
}

bool CTamXmlParserDocu::load(const std::wstring& path) {
    try {
        m_impl->document = std::make_shared<pugi::xml_document>();
        m_impl->lastError.clear();
        std::string utf8;
        {
            // The file's bytes go before the parse, so at most the bytes and their UTF-8 text
            // are held at once.
            std::vector<unsigned char> bytes;
            if (!TamReadFile(path, bytes, m_impl->lastError) ||
                !TamXmlBytesToUtf8(bytes.data(), bytes.size(), utf8, m_impl->lastError)) {
                return false;
            }
        }
        return m_impl->parse(std::move(utf8));
    } catch (const std::exception&) {
        m_impl->document = std::make_shared<pugi::xml_document>();
        m_impl->lastError = L"out of memory while loading '" + path + L"'";
        return false;
    }
}

bool CTamXmlParserDocu::loadFromMemory(const void* data, std::size_t size) {
    try {
        return m_impl->loadBytes(static_cast<const unsigned char*>(data), size);
    } catch (const std::exception&) {
        m_impl->document = std::make_shared<pugi::xml_document>();
        m_impl->lastError = L"out of memory while loading XML";
        return false;
    }
}

bool CTamXmlParserDocu::save(const std::wstring& path) {
    try {
        m_impl->lastError.clear();
        const std::string bytes =
            m_impl->serialize(pugi::encoding_utf16_le, pugi::format_write_bom);
        return TamWriteFileAtomic(path, bytes.data(), bytes.size(), m_impl->lastError);
    } catch (const std::exception&) {
        m_impl->lastError = L"out of memory while saving '" + path + L"'";
        return false;
    }
}

std::wstring CTamXmlParserDocu::toString() const {
    return tam::Utf8ToWideReplacing(m_impl->serialize(pugi::encoding_utf8, 0));
}

std::shared_ptr<CTamXmlParserNode> CTamXmlParserDocu::getRootNode() const {
    return MakeXmlNode(m_impl->document, *m_impl->document);
}

std::shared_ptr<CTamXmlParserNode> CTamXmlParserDocu::getDocumentElement() const {
    return MakeXmlNode(m_impl->document, m_impl->document->document_element());
}

const std::wstring& CTamXmlParserDocu::getLastError() const {
    return m_impl->lastError;
}
