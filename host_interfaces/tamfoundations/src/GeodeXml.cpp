#include "GeodeXml.h"

#include "DrawableXml.h"
#include "UserDataXml.h"

#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>

#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>
#include <tamtools/CTamXmlParserNode.h>

#include <memory>

namespace {

const wchar_t* const kFrameElement = L"Frame";

bool ReadGeodeContent(const CTamXmlParserNode& element, sglGeode& geode, std::wstring& error) {
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
        sglGeoSet* drawable = ReadDrawable(*child, error);
        if (drawable == nullptr) {
            return false;
        }
        geode.addGeometry(drawable);
    }
    return true;
}

}  // namespace

void WriteGeode(CTamXmlParserNode& parent, const GeodeRecord& record, const std::wstring& ident,
                bool base64) {
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
        WriteDrawable(*element, *drawable, level, base64);
    }
}

sglNode* ReadGeode(const CTamXmlParserNode& element, std::wstring& error) {
    auto* geode = new sglGeode;
    geode->ref();
    geode->setName(element.GetAttributeValue(L"Name"));
    if (!ReadGeodeContent(element, *geode, error)) {
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
