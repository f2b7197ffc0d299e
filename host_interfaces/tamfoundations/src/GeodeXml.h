// Private: the <Geode> element of a geometry entry.
#pragma once

#include <tamsg/sglMat4.h>

#include <string>
#include <vector>

class CTamUserData;
class CTamXmlParserNode;
class sglGeoSet;
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
// the user data and the drawables to `parent`.
void WriteGeode(CTamXmlParserNode& parent, const GeodeRecord& record, const std::wstring& ident,
                bool base64);

// A new node (count 0, owned by the caller) for a <Geode> element: the geode, under a transform
// when the element has a frame. Null with a reason in `error` when the element is damaged.
sglNode* ReadGeode(const CTamXmlParserNode& element, std::wstring& error);
