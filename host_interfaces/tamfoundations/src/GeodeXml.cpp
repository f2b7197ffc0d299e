#include "GeodeXml.h"

#include "DrawableSharing.h"
#include "UserDataXml.h"

#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>

#include <tamgeometry/CTamGeomTools.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>
#include <tamtools/CTamXmlParserNode.h>

#include <memory>

namespace {

const wchar_t* const kFrameElement = L"Frame";

bool ReadGeodeContent(const CTamXmlParserNode& element, sglGeode& geode, ReadDrawables& read,
                      std::wstring& error) {
    std::shared_ptr<CTamXmlParserNode> userData = element.GetNodeByTag(L"UserData");
    if (!userData->isEmpty()) {
        auto* record = new CTamUserData;
        geode.setUserData(record);
        if (!ReadUserData(*userData, *record)) {
            error = L"damaged user data of geode '" + element.GetAttributeValue(L"Name") + L"'";
            return false;
        }
    }
    for (const auto& child : element.GetNodesByTag(L"Drawable")) {
        sglGeoSet* drawable = read.Read(*child, error);
        if (drawable == nullptr) {
            return false;
        }
        geode.addGeometry(drawable);
    }
    return true;
}

sglNode* ReadGeode(const CTamXmlParserNode& element, ReadDrawables& read, std::wstring& error) {
    auto* geode = new sglGeode;
    geode->ref();
    geode->setName(element.GetAttributeValue(L"Name"));
    if (!ReadGeodeContent(element, *geode, read, error)) {
        geode->unref();
        return nullptr;
    }
    std::shared_ptr<CTamXmlParserNode> frame = element.GetNodeByTag(kFrameElement);
    if (frame->isEmpty()) {
        geode->unrefNoDelete();
        return geode;
    }
    sglMat4<float> placement;
    if (!CTamXMLToSG::ReadFrame(frame, placement)) {
        error = L"damaged frame of geode '" + geode->getName() + L"'";
        geode->unref();
        return nullptr;
    }
    auto* transform = new sglTransform<float>;
    transform->setMatrix(placement);
    transform->addChild(geode, true);
    geode->unref();
    return transform;
}

}  // namespace

void WriteGeode(CTamXmlParserNode& parent, const GeodeRecord& record, const std::wstring& ident,
                bool base64, WrittenDrawables& written) {
    std::shared_ptr<CTamXmlParserNode> element = parent.AddNode(L"Geode");
    element->AddAttribute(L"Name", record.name);
    element->AddAttribute(L"Ident", ident);
    if (!record.placement.isIdentity()) {
        CTamSGToXML::AddFrame(element, record.placement, kFrameElement);
    }
    if (record.userData != nullptr) {
        WriteUserData(*element, *record.userData);
    }
    for (const auto& [drawable, level] : record.drawables) {
        written.Write(*element, *drawable, level, base64);
    }
}

sglGroup* ReadGeodes(const CTamXmlParserNode& entry, ReadDrawables& read, std::wstring& error) {
    auto* group = new sglGroup;
    group->ref();
    for (const auto& element : entry.GetNodesByTag(L"Geode")) {
        sglNode* node = ReadGeode(*element, read, error);
        if (node == nullptr) {
            group->unref();
            return nullptr;
        }
        group->addChild(node, true);
    }
    CTamGeomTools::AddLODToSceneGraph(group);
    group->unrefNoDelete();
    return group;
}
