// Writing the text kernel file: a header with version and checksum, then the payload of
// keyword lines around OCCT's text B-rep (see docs/kernel-files.md).
#include "FileFormat.h"
#include "ShapeCodec.h"
#include "TextWords.h"

#include <charconv>
#include <cstdio>

namespace orik {
namespace files {

namespace {

class TextWriter {
public:
    std::string write(const KernelDocument& document) {
        const std::string geometry = encodeShapes(document.shapes, false);
        line("geometry", document.shapes.size(), geometry.size());
        out_ += geometry;
        out_ += '\n';
        line("entities", document.entities.size());
        for (const EntityRecord& record : document.entities)
            writeEntity(record);
        out_ += "list " + std::to_string(document.list.size());
        for (const EntityRef& ref : document.list)
            writeRef(ref);
        out_ += "\nend\n";
        return std::move(out_);
    }

private:
    void line(const char* keyword, size_t a) { out_ += keyword + (" " + std::to_string(a)) + '\n'; }
    void line(const char* keyword, size_t a, size_t b) {
        out_ += keyword + (" " + std::to_string(a)) + " " + std::to_string(b) + '\n';
    }

    void writeEntity(const EntityRecord& record) {
        out_ += "entity ";
        out_ += kEntityWords[record.type];
        if (record.shape >= 0)
            out_ += " shape " + std::to_string(record.shape);
        out_ += '\n';
        if (record.type == ORIK_WCS_TYPE) {
            writeAxes(record.axes);
        } else if (record.type != ORIK_COLLECTION_TYPE) {
            writeTransform(record.placement);
        }
        writeDecorations(record.decorations);
        for (const SubEntityRecord& sub : record.subEntities) {
            out_ += "sub ";
            out_ += kKindWords[int(sub.kind)];
            out_ += " " + std::to_string(sub.index) + '\n';
            writeDecorations(sub.decorations);
        }
        for (const MemberRecord& member : record.members) {
            out_ += "member";
            writeRef(member.entity);
            out_ += member.owned ? " owned\n" : " shared\n";
        }
        out_ += "end\n";
    }

    void writeTransform(const TransformRecord& t) {
        out_ += "placement " + std::to_string(t.form);
        number(t.scale);
        for (double value : t.matrix)
            number(value);
        for (double value : t.translation)
            number(value);
        out_ += '\n';
    }

    void writeAxes(const AxesRecord& axes) {
        out_ += "axes";
        for (const auto* triple :
             {&axes.origin, &axes.xDirection, &axes.yDirection, &axes.zDirection}) {
            for (double value : *triple)
                number(value);
        }
        out_ += '\n';
    }

    void writeDecorations(const Decorations& decorations) {
        if (decorations.color) {
            out_ += "color";
            for (double value : *decorations.color)
                number(value);
            out_ += '\n';
        }
        for (const AttributeRecord& attribute : decorations.attributes)
            writeAttribute(attribute);
    }

    void writeAttribute(const AttributeRecord& a) {
        out_ += "attribute ";
        out_ += kAttributeWords[a.kind - ATTRIB_GEN_NAME_TYPE];
        out_ += ' ';
        quoted(a.name);
        switch (a.kind) {
            case ATTRIB_GEN_ENTITY_TYPE:
                writeRef(a.entity);
                break;
            case ATTRIB_GEN_INTEGER_TYPE:
                out_ += " " + std::to_string(a.integer);
                break;
            case ATTRIB_GEN_REAL_TYPE:
                number(a.real);
                break;
            case ATTRIB_GEN_POSITION_TYPE:
            case ATTRIB_GEN_VECTOR_TYPE:
                for (double value : a.xyz)
                    number(value);
                break;
            case ATTRIB_GEN_STRING_TYPE:
                out_ += ' ';
                quoted(a.text);
                break;
            case ATTRIB_GEN_WSTRING_TYPE:
                out_ += ' ';
                quotedWide(a.wideText);
                break;
            default:
                break;
        }
        out_ += '\n';
    }

    // " none", " 3" or " 3.face.12".
    void writeRef(const EntityRef& ref) {
        if (ref.none()) {
            out_ += " none";
            return;
        }
        out_ += " " + std::to_string(ref.record);
        if (ref.sub) {
            out_ += '.';
            out_ += kKindWords[int(ref.kind)];
            out_ += "." + std::to_string(ref.index);
        }
    }

    // The shortest text that reads back as the same double (inf and nan included).
    void number(double value) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        out_ += ' ';
        out_.append(buffer, end);
    }

    // Printable ASCII as is, the rest as \xHH bytes.
    void quoted(const std::string& text) {
        out_ += '"';
        for (unsigned char c : text) {
            if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
                out_ += char(c);
            } else {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\x%02x", c);
                out_ += escape;
            }
        }
        out_ += '"';
    }

    // Printable ASCII as is, any other code unit as \u{hex}.
    void quotedWide(const std::wstring& text) {
        out_ += '"';
        for (wchar_t c : text) {
            const uint32_t unit = uint32_t(c);
            if (unit >= 0x20 && unit < 0x7f && c != L'"' && c != L'\\') {
                out_ += char(unit);
            } else {
                char escape[16];
                std::snprintf(escape, sizeof escape, "\\u{%x}", unsigned(unit));
                out_ += escape;
            }
        }
        out_ += '"';
    }

    std::string out_;
};

}  // namespace

std::string writeText(const KernelDocument& document) {
    const std::string payload = TextWriter().write(document);
    char header[96];
    std::snprintf(header, sizeof header, "%s%u\nchecksum %016llx %zu\n", kTextMagic,
                  unsigned(kFormatVersion),
                  static_cast<unsigned long long>(checksumOf(payload.data(), payload.size())),
                  payload.size());
    return header + payload;
}

}  // namespace files
}  // namespace orik
