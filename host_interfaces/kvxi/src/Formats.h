// Which format a document is in: from its type tag, its content or its extension.
#pragma once

#include <string>

namespace tam {

enum class Format {
    Unknown,      // nothing recognised
    Unsupported,  // a tag we know of but cannot read or write
    OrikText,
    OrikBinary,
    Orik,  // the kernel's files, text or binary still to be told apart by content
    Step,
    Iges,
    Brep,
    Stl,
    Gltf,
    Ebom
};

// Format of a source from its type tag; an empty tag looks at the content, then the extension.
Format DetectSourceFormat(const std::string& typeTag, const std::string& path);
// Format of a target from its type tag, else from the extension of its path.
Format DetectTargetFormat(const std::string& typeTag, const std::string& path);
// Format found in the first bytes of a file, or Unknown.
Format SniffContent(const std::string& path);
// The lower-cased extension of a path without the dot, or "".
std::string LowerExtension(const std::string& path);

}  // namespace tam
