// Helpers shared by the two assembly parsers, CTamEBOMParser and CTamXmlOnlyParser (internal to
// the library).
#pragma once

#include <tamsg/sglMat4.h>

#include <list>
#include <map>
#include <memory>
#include <string>

class CTamMetaCollector;
class CTamXmlParserNode;

namespace tam_assembly {

// Longest number text a Position child may hold; a longer one refuses the whole Position.
constexpr std::size_t kMaxPositionTextLength = 60;

// Removes the first line of a UTF-16 LE file in place: the 16-bit code units up to and including
// the first line feed (a byte-order mark goes with them). The rest is copied through the scratch
// file "tmp.xml" of the host's work folder, which is then copied over the file and left there.
// A file without such a line feed, or one that cannot be opened, stays as it is.
void DeleteFirstLine(const std::wstring& path);

// Reads a Position element: the texts of its first 12 child elements are c1..c12 (number texts
// with '.' or ',' as decimal separator), the images of the x, y, z axes and the translation.
// Entries without a child keep the identity's values. False, out untouched, when one of those
// texts is longer than kMaxPositionTextLength characters. An empty or null element reads as the
// identity.
bool ReadPosition(const std::shared_ptr<CTamXmlParserNode>& position, sglMat4<float>& out);

using XmlNodes = std::list<std::shared_ptr<CTamXmlParserNode>>;

// The Structure element of an assembly XML: in the Exposition of the first child element of
// the document element. Null when any of them is missing (a null or empty document element
// included). When found, `assemblyPath` (if given) receives that first child's FilePath.
std::shared_ptr<CTamXmlParserNode> FindStructure(
    const std::shared_ptr<CTamXmlParserNode>& documentElement,
    std::wstring* assemblyPath = nullptr);

// The References of the Structure (FindStructure) and the instances under its Root. False, both
// lists possibly left empty, when there is no Structure, no Root, no Reference or no instance.
bool ReadStructure(const std::shared_ptr<CTamXmlParserNode>& documentElement,
                   std::wstring& assemblyPath, XmlNodes& references, XmlNodes& instances);

// The Identifier of each Reference mapped to the Id of its Rep's Shape; References without a
// Shape are left out.
std::map<std::wstring, std::wstring> ReferenceShapes(const XmlNodes& references);

// The part file of each Document by its Name: its FilePath, else its Identifier. Documents of
// Type "okt", without a path or naming the assembly itself (assemblyPath) are left out. With
// metadata import on, each Document's first UserDefinedAttribute goes to meta (when given).
std::map<std::wstring, std::wstring> DocumentPaths(const XmlNodes& documents,
                                                   const std::wstring& assemblyPath,
                                                   CTamMetaCollector* meta);

}  // namespace tam_assembly
