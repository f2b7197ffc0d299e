#include "Formats.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace tam {
namespace {

Format FormatFromTag(const std::string& tag) {
    if (tag == "Orik")
        return Format::Orik;
    if (tag == "STEP")
        return Format::Step;
    if (tag == "IGES")
        return Format::Iges;
    if (tag == "BREP")
        return Format::Brep;
    if (tag == "STL")
        return Format::Stl;
    if (tag == "GLTF")
        return Format::Gltf;
    if (tag == "EBOM")
        return Format::Ebom;
    return Format::Unsupported;
}

Format FormatFromExtension(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == "okt")
        return Format::OrikText;
    if (ext == "okb")
        return Format::OrikBinary;
    if (ext == "stp" || ext == "step" || ext == "p21")
        return Format::Step;
    if (ext == "igs" || ext == "iges")
        return Format::Iges;
    if (ext == "brep" || ext == "rle")
        return Format::Brep;
    if (ext == "stl")
        return Format::Stl;
    if (ext == "glb" || ext == "gltf")
        return Format::Gltf;
    if (ext == "xml")
        return Format::Ebom;
    return Format::Unknown;
}

std::string ReadHead(const std::string& path, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::string head(size, '\0');
    in.read(&head[0], static_cast<std::streamsize>(size));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return head;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// IGES start or global section: 80-column records whose column 73 is 'S' or 'G'.
bool LooksLikeIges(const std::string& head) {
    const std::size_t end = head.find_first_of("\r\n");
    if (end != 72 + 8 && end != std::string::npos)
        return false;
    return head.size() >= 80 && (head[72] == 'S' || head[72] == 'G');
}

}  // namespace

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

Format SniffContent(const std::string& path) {
    const std::string head = ReadHead(path, 512);
    const std::size_t start = head.find_first_not_of(" \t\r\n");
    const std::string text = start == std::string::npos ? std::string() : head.substr(start);
    if (StartsWith(text, "ISO-10303-21"))
        return Format::Step;
    if (StartsWith(text, "DBRep_DrawableShape") || StartsWith(text, "CASCADE Topology")) {
        return Format::Brep;
    }
    // The kernel's files begin with these bytes (docs/kernel-files.md).
    if (StartsWith(head, "ORIK-TEXT "))
        return Format::OrikText;
    if (StartsWith(head, std::string("ORIKBIN\x1a", 8)))
        return Format::OrikBinary;
    if (LooksLikeIges(head))
        return Format::Iges;
    return Format::Unknown;
}

Format DetectSourceFormat(const std::string& typeTag, const std::string& path) {
    if (!typeTag.empty())
        return FormatFromTag(typeTag);
    const Format sniffed = SniffContent(path);
    if (sniffed != Format::Unknown)
        return sniffed;
    const Format byExtension = FormatFromExtension(path);
    return byExtension == Format::Stl || byExtension == Format::Gltf ? Format::Unsupported
                                                                     : byExtension;
}

Format DetectTargetFormat(const std::string& typeTag, const std::string& path) {
    if (!typeTag.empty()) {
        const Format tagged = FormatFromTag(typeTag);
        if (tagged != Format::Orik)
            return tagged;
        const Format byExtension = FormatFromExtension(path);
        return byExtension == Format::OrikBinary ? Format::OrikBinary : Format::OrikText;
    }
    return FormatFromExtension(path);
}

}  // namespace tam
