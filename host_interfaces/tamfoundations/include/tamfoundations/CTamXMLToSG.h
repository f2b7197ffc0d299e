// Readers that rebuild scene-graph content from what CTamSGToXML wrote.
#pragma once

#include <platform/CString.h>
#include <tamsg/sglMat4.h>

#include <memory>
#include <string>

class CTamXmlParserDocu;
class CTamXmlParserNode;
class sglGroup;

// Static readers. Damaged input gives false or null with a reason, never an exception.
class CTamXMLToSG {
public:
    // Reads the "Matrix" of a frame element written by CTamSGToXML::AddFrame into `matrix`.
    // False (matrix untouched) when it does not hold exactly 16 numbers.
    static bool ReadFrame(const std::shared_ptr<CTamXmlParserNode>& frame, sglMat4<float>& matrix);

    // A new group (count 0, owned by the caller) holding the geodes of a <Geometry> entry: each
    // geode under a transform when it was written with a placement, geodes with several levels
    // turned into level-of-detail nodes. A side-file entry is looked up in its file, taken
    // relative to `sideFileFolder` unless it has a folder of its own. Null, with a reason in
    // `error` when given, for a damaged entry or an unreadable side file.
    static sglGroup* ReadGeometry(const std::shared_ptr<CTamXmlParserNode>& geometry,
                                  const CString& sideFileFolder, std::wstring* error = nullptr);

    // As ReadGeometry, looking side-file entries up in an already loaded side file.
    static sglGroup* ReadGeometryFrom(const std::shared_ptr<CTamXmlParserNode>& geometry,
                                      const std::shared_ptr<CTamXmlParserDocu>& sideFile,
                                      std::wstring* error = nullptr);
};
