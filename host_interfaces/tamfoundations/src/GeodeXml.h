// Private: the <Geode> element of a geometry entry.
#pragma once

#include <tamsg/sglMat4.h>

#include <string>
#include <vector>

class CTamUserData;
class CTamXmlParserNode;
class ReadDrawables;
class WrittenDrawables;
class sglGeoSet;
class sglGroup;
class sglNode;

// One geode as written: name, user data (may be null), placement and drawables, each with the
// level it belongs to (its level record's, else that of the level-of-detail child holding it).
struct GeodeRecord {
    std::wstring name;
    const CTamUserData* userData = nullptr;
    sglMat4<float> placement;
    std::vector<std::pair<const sglGeoSet*, unsigned int>> drawables;
};

// Appends <Geode Name=".." Ident=".."> with a "Frame" (unless the placement is the identity),
// the user data and the drawables (through `written`, which shares repeated ones) to `parent`.
void WriteGeode(CTamXmlParserNode& parent, const GeodeRecord& record, const std::wstring& ident,
                bool base64, WrittenDrawables& written);

// A new group (count 0, owned by the caller) holding the geodes of a <Geometry> entry (see
// CTamXMLToSG::ReadGeometry), drawables resolved through `read`. Null with a reason in `error`.
sglGroup* ReadGeodes(const CTamXmlParserNode& entry, ReadDrawables& read, std::wstring& error);
