#include "EbomWriter.h"

#include "EntityBuilder.h"
#include "KernelFileIO.h"
#include "TemporaryEntities.h"

#include <platform/CodePage.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace tam {
namespace {

// XML text, built as wide characters and encoded as UTF-16 little endian at the end.
class XmlText {
public:
    void Open(const wchar_t* element) {
        Indent();
        m_text += L'<';
        m_text += element;
        m_open.push_back(element);
        m_tagOpen = true;
    }
    void Attribute(const wchar_t* name, const std::wstring& value) {
        m_text += L' ';
        m_text += name;
        m_text += L"=\"";
        Escape(value);
        m_text += L'"';
    }
    // Closes the current element; with text, as <e>text</e>.
    void Close(const std::wstring* text = nullptr) {
        const std::wstring element = m_open.back();
        m_open.pop_back();
        if (m_tagOpen && !text) {
            m_text += L"/>\n";
            m_tagOpen = false;
            return;
        }
        if (m_tagOpen) {
            m_text += L'>';
            Escape(*text);
            m_tagOpen = false;
        } else {
            Indent();
        }
        m_text += L"</" + element + L">\n";
    }
    void TextElement(const wchar_t* element, const std::wstring& text) {
        Open(element);
        Close(&text);
    }
    std::string Utf16Bytes() const {
        std::string bytes = "\xFF\xFE";
        bytes.reserve(2 * m_text.size() + 64);
        for (const wchar_t ch : m_text) {
            const auto code = static_cast<char32_t>(ch);
            if (code >= 0x10000) {
                AppendUnit(bytes, 0xD800 + ((code - 0x10000) >> 10));
                AppendUnit(bytes, 0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                AppendUnit(bytes, code);
            }
        }
        return bytes;
    }
    std::wstring& Raw() { return m_text; }

private:
    void Indent() {
        if (m_tagOpen) {
            m_text += L">\n";
            m_tagOpen = false;
        }
        m_text.append(m_open.size(), L' ');
    }
    void Escape(const std::wstring& value) {
        for (const wchar_t ch : value) {
            switch (ch) {
                case L'&':
                    m_text += L"&amp;";
                    break;
                case L'<':
                    m_text += L"&lt;";
                    break;
                case L'>':
                    m_text += L"&gt;";
                    break;
                case L'"':
                    m_text += L"&quot;";
                    break;
                default:
                    // XML 1.0 has no place for other control characters; keep tab and line ends.
                    if (ch < 0x20 && ch != L'\t' && ch != L'\n' && ch != L'\r')
                        m_text += L' ';
                    else if (ch == L'\n' || ch == L'\r' || ch == L'\t')
                        m_text += L"&#" + std::to_wstring(static_cast<int>(ch)) + L';';
                    else
                        m_text += ch;
            }
        }
    }
    static void AppendUnit(std::string& bytes, char32_t unit) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }

    std::wstring m_text;
    std::vector<std::wstring> m_open;
    bool m_tagOpen = false;
};

std::wstring Wide(const std::string& utf8) {
    return tam::Utf8ToWideReplacing(utf8);
}

// A number with a point whatever the process locale, at most 15 significant digits.
std::wstring Number(double value) {
    if (std::fabs(value) < 1e-15)
        value = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    std::wstring wide;
    for (const char* p = text; *p; ++p)
        wide += *p == ',' ? L'.' : static_cast<wchar_t>(*p);
    return wide;
}

std::wstring HexColor(const RgbColor& color) {
    auto channel = [](double value) {
        const long scaled = std::lround(std::min(1.0, std::max(0.0, value)) * 255.0);
        return static_cast<unsigned>(scaled);
    };
    wchar_t text[8];
    std::swprintf(text, 8, L"#%02X%02X%02X", channel(color.red), channel(color.green),
                  channel(color.blue));
    return text;
}

class EbomWriter {
public:
    EbomWriter(const AssemblyModel& model, const TranslateOptions& options,
               const EbomTarget& target)
        : m_model(model), m_options(options), m_target(target) {}

    KVXIResult Run() {
        if (m_model.IsEmpty() || m_model.parts.empty())
            return KVXIResult(KVXIResult::NoEntities);
        KVXIResult result = WritePartFiles();
        if (result.IsFailure())
            return result;
        MakeIdentifiers();
        WriteXml();
        std::ofstream out(m_target.xmlPath, std::ios::binary);
        const std::string bytes = m_xml.Utf16Bytes();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            return KVXIResult(KVXIResult::WriteFailed);
        return result;
    }

private:
    static std::string PartFileName(std::size_t index) {
        return "part" + std::to_string(index + 1) + ".okt";
    }

    KVXIResult WritePartFiles() {
        const fs::path scratch = fs::path(m_target.xmlPath).parent_path();
        KVXIResult result;
        for (std::size_t i = 0; i < m_model.parts.size(); ++i) {
            TemporaryEntities made;
            result &= BuildEntities(m_model.parts[i].content, m_options, made.entities);
            if (result.IsFailure())
                return result;
            result &= SaveKernelFile(made.entities, (scratch / PartFileName(i)).string(), false);
            if (result.IsFailure())
                return result;
            m_partPaths.push_back(
                Wide((fs::path(m_target.finalFolder) / PartFileName(i)).string()));
        }
        return result;
    }

    // Identifiers of parts and sub-assembly products: their names, made unique with a number.
    void MakeIdentifiers() {
        for (std::size_t i = 0; i < m_model.parts.size(); ++i)
            m_partIds.push_back(UniqueId(m_model.parts[i].name, "part", i));
        for (std::size_t i = 0; i < m_model.products.size(); ++i)
            m_productIds.push_back(UniqueId(m_model.products[i], "assembly", i));
        m_productUsed.assign(m_productIds.size(), false);
    }

    std::wstring UniqueId(const std::string& name, const char* fallback, std::size_t index) {
        std::wstring id = name.empty() ? Wide(fallback + std::to_string(index + 1)) : Wide(name);
        const std::wstring base = id;
        for (int n = 2; !m_usedIds.insert(id).second; ++n)
            id = base + L" (" + std::to_wstring(n) + L")";
        return id;
    }

    void WriteXml() {
        m_xml.Raw() = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n";
        m_xml.Open(L"EBOM");
        WriteAssemblyEntry();
        for (std::size_t i = 0; i < m_model.parts.size(); ++i)
            WritePartEntry(i);
        m_xml.Close();
    }

    void WriteAssemblyEntry() {
        const std::wstring source = Wide(m_target.sourcePath);
        m_xml.Open(L"Document");
        m_xml.Attribute(L"Type", L"Assembly");
        m_xml.Attribute(L"Name", Wide(m_model.name));
        m_xml.Attribute(L"FilePath", source);
        m_xml.Attribute(L"Identifier", source);
        m_xml.Open(L"Exposition");
        m_xml.Open(L"Structure");
        m_xml.Open(L"Root");
        m_xml.Attribute(L"Name", Wide(m_model.name));
        for (const AssemblyNode& node : m_model.roots)
            WriteInstance(L"Instance", node);
        m_xml.Close();
        WriteReferences();
        m_xml.Close();
        m_xml.Close();
        m_xml.Close();
    }

    void WriteInstance(const wchar_t* element, const AssemblyNode& node) {
        m_xml.Open(element);
        m_xml.Attribute(L"Name", Wide(node.name));
        if (node.color)
            m_xml.Attribute(L"Color", HexColor(*node.color));
        WritePosition(node.placement);
        m_xml.Open(L"RefLink");
        if (node.part < 0)
            m_productUsed[static_cast<std::size_t>(node.product)] = true;
        m_xml.Attribute(L"Id", node.part >= 0 ? m_partIds[node.part] : m_productIds[node.product]);
        m_xml.Close();
        for (const AssemblyNode& child : node.children)
            WriteInstance(L"Child", child);
        m_xml.Close();
    }

    // c1..c9: the images of the x, y and z axes; c10..c12: the translation.
    void WritePosition(const gp_Trsf& placement) {
        static const wchar_t* const kNames[12] = {L"c1", L"c2", L"c3", L"c4",  L"c5",  L"c6",
                                                  L"c7", L"c8", L"c9", L"c10", L"c11", L"c12"};
        m_xml.Open(L"Position");
        int k = 0;
        for (int column = 1; column <= 4; ++column) {
            for (int row = 1; row <= 3; ++row)
                m_xml.TextElement(kNames[k++], Number(placement.Value(row, column)));
        }
        m_xml.Close();
    }

    void WriteReferences() {
        for (std::size_t i = 0; i < m_model.parts.size(); ++i) {
            m_xml.Open(L"Reference");
            m_xml.Attribute(L"Identifier", m_partIds[i]);
            m_xml.Open(L"Rep");
            m_xml.Open(L"Shape");
            m_xml.Attribute(L"Id", m_partPaths[i]);
            m_xml.Close();
            m_xml.Close();
            m_xml.Close();
        }
        for (std::size_t i = 0; i < m_productIds.size(); ++i) {
            if (!m_productUsed[i])
                continue;
            m_xml.Open(L"Reference");
            m_xml.Attribute(L"Identifier", m_productIds[i]);
            m_xml.Close();
        }
    }

    void WritePartEntry(std::size_t index) {
        const AssemblyPart& part = m_model.parts[index];
        m_xml.Open(L"Document");
        m_xml.Attribute(L"Type", L"okt");
        m_xml.Attribute(L"Name", m_partIds[index]);
        m_xml.Attribute(L"FilePath", m_partPaths[index]);
        m_xml.Attribute(L"Identifier", m_partIds[index]);
        if (!part.properties.empty()) {
            m_xml.Open(L"UserDefinedAttributes");
            m_xml.Open(L"UserDefinedAttribute");
            m_xml.Attribute(L"Name", Wide(part.name));
            for (const NamedValue& property : part.properties) {
                m_xml.Open(L"Param");
                m_xml.Attribute(L"Name", Wide(property.name));
                m_xml.Attribute(L"Value", Wide(property.value));
                m_xml.Close();
            }
            m_xml.Close();
            m_xml.Close();
        }
        m_xml.Close();
    }

    const AssemblyModel& m_model;
    const TranslateOptions& m_options;
    const EbomTarget& m_target;
    XmlText m_xml;
    std::vector<std::wstring> m_partPaths;
    std::vector<std::wstring> m_partIds;
    std::vector<std::wstring> m_productIds;
    std::vector<bool> m_productUsed;  // products placed by an instance get a Reference
    std::set<std::wstring> m_usedIds;
};

}  // namespace

KVXIResult WriteEbom(const AssemblyModel& model, const TranslateOptions& options,
                     const EbomTarget& target) {
    return EbomWriter(model, options, target).Run();
}

}  // namespace tam
