// Writers of scene-graph content into the host's product XML and geometry side files.
#pragma once

#include <platform/CString.h>
#include <tamsg/sglMat4.h>

#include <map>
#include <memory>
#include <vector>

class CTamDBRoot;
class CTamXmlParserNode;
class sglNode;

// Static writers; the layout they write is described in docs/host-formats.md and read back by
// CTamXMLToSG. Null or empty arguments make them write nothing and return false.
class CTamSGToXML {
public:
    // Appends <name Matrix="m0 ... m15"/> (16 numbers in index order) to `parent`.
    static bool AddFrame(const std::shared_ptr<CTamXmlParserNode>& parent,
                         const sglMat4<float>& matrix, const CString& name);

    // Appends <Selection> to `parent`, naming `node` as the selected object
    // (<Node Name=".." Type=".." [Guid=".."]/>).
    static bool AddSelectionToXMLDoc(const std::shared_ptr<CTamXmlParserNode>& parent,
                                     sglNode* node);

    // Appends a <Geometry Ident=".."> entry for the geodes of `node` (all geodes below it with
    // `recursive`, else `node` alone when it is a geode) to `parent`. Each geode is written with
    // its placement relative to `node` (relative to the top of the graph when `root` is given),
    // its user data and drawables; numbers as decimal text, or base64 with `base64`.
    // With an empty `geometryFile` the geodes go inside the entry; otherwise the entry only
    // names the file (attribute "File") and the geodes are kept for that side file until
    // WriteGeometryFiles. Geode identifiers are formed from their names with `mapIdent`.
    static bool AddGeometryToXMLDoc(const std::shared_ptr<CTamXmlParserNode>& parent, sglNode* node,
                                    CTamDBRoot* root, const CString& geometryFile, bool base64,
                                    bool recursive, std::map<CString, unsigned int>& mapIdent);

    // Saves every side file collected by AddGeometryToXMLDoc (UTF-16 XML, root "RvdGeometry")
    // into `folder` (a file name with a folder of its own keeps it) and forgets them. False when
    // one could not be written; the others are written anyway.
    static bool WriteGeometryFiles(const CString& folder);
    // Names of the side files collected and not written yet.
    static std::vector<CString> GetPendingGeometryFiles();
    // Forgets the collected side files without writing them.
    static void DiscardGeometryFiles();
};
