#include "DrawableXml.h"

#include "NumberText.h"
#include "XmlValues.h"

#include <tamsg/sglLighting.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglPointSize.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamtools/CTamXmlParserNode.h>

#include <memory>
#include <vector>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

const wchar_t* KindOf(const sglGeoSet& drawable) {
    if (dynamic_cast<const sglMonoIndexedTriangleStripSet*>(&drawable)) {
        return L"TriangleStrips";
    }
    if (dynamic_cast<const sglLineStripSet*>(&drawable)) {
        return L"LineStrips";
    }
    if (dynamic_cast<const sglPointSet*>(&drawable)) {
        return L"Points";
    }
    return nullptr;
}

sglGeoSet* NewOfKind(const std::wstring& kind) {
    if (kind == L"TriangleStrips") {
        return new sglMonoIndexedTriangleStripSet;
    }
    if (kind == L"LineStrips") {
        return new sglLineStripSet;
    }
    return kind == L"Points" ? new sglPointSet : nullptr;
}

// ---- writing ----

void WriteFloatList(CTamXmlParserNode& parent, const wchar_t* name, const float* values,
                    unsigned int count, unsigned int components, bool base64) {
    NodePtr list = parent.AddNode(name);
    list->AddAttribute(L"Count", std::to_wstring(count));
    list->AddAttribute(L"Components", std::to_wstring(components));
    const std::size_t size = static_cast<std::size_t>(count) * components;
    if (base64) {
        list->AddAttribute(L"Encoding", L"base64");
    }
    list->setText(base64 ? FloatsToBase64(values, size) : FloatsToText(values, size));
}

void WriteUIntList(CTamXmlParserNode& parent, const wchar_t* name, const unsigned int* values,
                   unsigned int count, bool base64) {
    NodePtr list = parent.AddNode(name);
    list->AddAttribute(L"Count", std::to_wstring(count));
    if (base64) {
        list->AddAttribute(L"Encoding", L"base64");
    }
    list->setText(base64 ? UIntsToBase64(values, count) : UIntsToText(values, count));
}

void WriteMaterialSide(CTamXmlParserNode& element, const sglMaterial& material, unsigned int side,
                       const std::wstring& prefix) {
    SetFloatsAttribute(element, (prefix + L"Diffuse").c_str(), material.getDiffuse(side).getPtr(),
                       4);
    SetFloatsAttribute(element, (prefix + L"Specular").c_str(), material.getSpecular(side).getPtr(),
                       4);
    element.AddAttribute(prefix + L"Shininess", FloatToText(material.getShininess(side)));
}

void WriteState(CTamXmlParserNode& parent, const sglGeoSet& drawable) {
    for (const sglStatelet* statelet : drawable.getState(0)) {
        if (const auto* material = dynamic_cast<const sglMaterial*>(statelet)) {
            NodePtr element = parent.AddNode(L"Material");
            WriteMaterialSide(*element, *material, SGL_FRONT, L"");
            WriteMaterialSide(*element, *material, SGL_BACK, L"Back");
        } else if (const auto* lighting = dynamic_cast<const sglLighting*>(statelet)) {
            parent.AddNode(L"Lighting")
                ->AddAttribute(L"Enabled", lighting->isEnabled() ? L"1" : L"0");
        } else if (const auto* width = dynamic_cast<const sglLineWidth*>(statelet)) {
            parent.AddNode(L"LineWidth")->AddAttribute(L"Value", FloatToText(width->getWidth()));
        } else if (const auto* size = dynamic_cast<const sglPointSize*>(statelet)) {
            parent.AddNode(L"PointSize")->AddAttribute(L"Value", FloatToText(size->getSize()));
        }
    }
}

void WriteLists(CTamXmlParserNode& element, const sglGeoSet& drawable, bool base64) {
    if (drawable.getCoords()) {
        WriteFloatList(element, L"Coords", drawable.getCoords(), drawable.getNumCoords(),
                       drawable.getCoordComponents(), base64);
    }
    if (drawable.getNormals()) {
        WriteFloatList(element, L"Normals", drawable.getNormals(), drawable.getNumNormals(), 3,
                       base64);
        element.GetNodeByTag(L"Normals")
            ->AddAttribute(L"Binding", std::to_wstring(drawable.getNormalBinding()));
    }
    if (drawable.getColors()) {
        WriteFloatList(element, L"Colors", drawable.getColors(), drawable.getNumColors(),
                       drawable.getColorComponents(), base64);
        element.GetNodeByTag(L"Colors")->AddAttribute(L"Binding",
                                                      std::to_wstring(drawable.getColorBinding()));
    }
    const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(&drawable);
    if (strips != nullptr && strips->getIndices()) {
        WriteUIntList(element, L"Indices", strips->getIndices(), strips->getNumIndices(), base64);
    }
    if (drawable.getPrimLengths()) {
        WriteUIntList(element, L"PrimLengths", drawable.getPrimLengths(),
                      drawable.getNumPrimLengths(), base64);
    }
}

// ---- reading ----

struct ListHeader {
    unsigned int count = 0;
    unsigned int components = 1;
    bool base64 = false;
};

bool ReadHeader(const CTamXmlParserNode& list, bool withComponents, ListHeader& header) {
    const std::wstring encoding = list.GetAttributeValue(L"Encoding");
    header.base64 = encoding == L"base64";
    if (!encoding.empty() && !header.base64) {
        return false;
    }
    if (!TextToUInt(list.GetAttributeValue(L"Count"), header.count)) {
        return false;
    }
    return !withComponents || TextToUInt(list.GetAttributeValue(L"Components"), header.components);
}

bool ReadFloatList(const CTamXmlParserNode& list, ListHeader& header, std::vector<float>& values) {
    if (!ReadHeader(list, true, header) || header.components == 0 || header.components > 4) {
        return false;
    }
    const std::size_t size = static_cast<std::size_t>(header.count) * header.components;
    return header.base64 ? Base64ToFloats(list.getText(), size, values)
                         : TextToFloats(list.getText(), size, values);
}

bool ReadUIntList(const CTamXmlParserNode& list, ListHeader& header,
                  std::vector<unsigned int>& values) {
    if (!ReadHeader(list, false, header)) {
        return false;
    }
    return header.base64 ? Base64ToUInts(list.getText(), header.count, values)
                         : TextToUInts(list.getText(), header.count, values);
}

bool ReadBinding(const CTamXmlParserNode& list, unsigned int& binding) {
    return TextToUInt(list.GetAttributeValue(L"Binding"), binding) &&
           binding <= SGL_BIND_PER_VERTEX;
}

// Reads each list present; a list that is present but damaged fails the whole drawable.
bool ReadLists(const CTamXmlParserNode& element, sglGeoSet& drawable) {
    ListHeader header;
    std::vector<float> floats;
    std::vector<unsigned int> uints;
    unsigned int binding = 0;
    NodePtr list = element.GetNodeByTag(L"Coords");
    if (!list->isEmpty()) {
        if (!ReadFloatList(*list, header, floats) ||
            !drawable.setCoordList(new sglArrayDataPtr<float>(floats), SGL_FLOAT, header.components,
                                   0, header.count)) {
            return false;
        }
    }
    list = element.GetNodeByTag(L"Normals");
    if (!list->isEmpty()) {
        if (!ReadFloatList(*list, header, floats) || header.components != 3 ||
            !ReadBinding(*list, binding) ||
            !drawable.setNormalList(binding, new sglArrayDataPtr<float>(floats), SGL_FLOAT, 0,
                                    header.count)) {
            return false;
        }
    }
    list = element.GetNodeByTag(L"Colors");
    if (!list->isEmpty()) {
        if (!ReadFloatList(*list, header, floats) || !ReadBinding(*list, binding) ||
            !drawable.setColorList(binding, new sglArrayDataPtr<float>(floats), SGL_FLOAT,
                                   header.components, 0, header.count)) {
            return false;
        }
    }
    list = element.GetNodeByTag(L"Indices");
    auto* strips = dynamic_cast<sglMonoIndexedTriangleStripSet*>(&drawable);
    if (!list->isEmpty()) {
        if (strips == nullptr || !ReadUIntList(*list, header, uints) ||
            !strips->setIndexList(new sglArrayDataPtr<unsigned int>(uints), 0, header.count)) {
            return false;
        }
    }
    list = element.GetNodeByTag(L"PrimLengths");
    if (!list->isEmpty()) {
        if (!ReadUIntList(*list, header, uints) ||
            !drawable.setPrimLengths(new sglArrayDataPtr<unsigned int>(uints), 0, header.count)) {
            return false;
        }
    }
    return true;
}

bool ReadMaterialSide(const CTamXmlParserNode& element, sglMaterial& material, unsigned int side,
                      const std::wstring& prefix) {
    sglVec4<float> diffuse;
    sglVec4<float> specular;
    float shininess = 0.0f;
    if (!GetFloatsAttribute(element, (prefix + L"Diffuse").c_str(), 4, diffuse.getPtr()) ||
        !GetFloatsAttribute(element, (prefix + L"Specular").c_str(), 4, specular.getPtr()) ||
        !TextToFloat(element.GetAttributeValue(prefix + L"Shininess"), shininess)) {
        return false;
    }
    material.setDiffuse(side, diffuse);
    material.setSpecular(side, specular);
    material.setShininess(side, shininess);
    return true;
}

// The statelet of one state element, or null (count 0, owned by the caller) when damaged.
sglStatelet* ReadStatelet(const CTamXmlParserNode& element) {
    const std::wstring name = element.getName();
    float value = 0.0f;
    if (name == L"Material") {
        auto* material = new sglMaterial;
        if (!ReadMaterialSide(element, *material, SGL_FRONT, L"") ||
            !ReadMaterialSide(element, *material, SGL_BACK, L"Back")) {
            material->unref();
            return nullptr;
        }
        return material;
    }
    if (name == L"Lighting") {
        const std::wstring enabled = element.GetAttributeValue(L"Enabled");
        return enabled == L"1" || enabled == L"0" ? new sglLighting(enabled == L"1") : nullptr;
    }
    if (!TextToFloat(element.GetAttributeValue(L"Value"), value)) {
        return nullptr;
    }
    if (name == L"LineWidth") {
        return new sglLineWidth(value);
    }
    return name == L"PointSize" ? new sglPointSize(value) : nullptr;
}

bool ReadState(const CTamXmlParserNode& element, sglGeoSet& drawable) {
    std::vector<sglStatelet*> statelets;
    bool damaged = false;
    for (const wchar_t* name : {L"Material", L"Lighting", L"LineWidth", L"PointSize"}) {
        for (const NodePtr& child : element.GetNodesByTag(name)) {
            sglStatelet* statelet = ReadStatelet(*child);
            damaged = damaged || statelet == nullptr;
            if (statelet != nullptr) {
                statelets.push_back(statelet);
            }
        }
    }
    drawable.setState(0, statelets);  // takes its own reference on each
    return !damaged;
}

bool ReadLevel(const CTamXmlParserNode& element, sglGeoSet& drawable) {
    if (!element.HasAttribute(L"Level")) {
        return true;
    }
    unsigned int level = 0;
    if (!TextToUInt(element.GetAttributeValue(L"Level"), level)) {
        return false;
    }
    drawable.setUserData(new CTamUserDataGeoset(level));
    return true;
}

}  // namespace

NodePtr WriteDrawable(CTamXmlParserNode& parent, const sglGeoSet& drawable, unsigned int level,
                      bool base64) {
    const wchar_t* kind = KindOf(drawable);
    if (kind == nullptr) {
        return nullptr;
    }
    NodePtr element = parent.AddNode(L"Drawable");
    element->AddAttribute(L"Kind", kind);
    element->AddAttribute(L"Prims", std::to_wstring(drawable.getNumPrims()));
    if (level != 0 || dynamic_cast<const CTamUserDataGeoset*>(drawable.getUserData())) {
        element->AddAttribute(L"Level", std::to_wstring(level));
    }
    if (!drawable.getName().empty()) {
        element->AddAttribute(L"Name", drawable.getName());
    }
    WriteState(*element, drawable);
    WriteLists(*element, drawable, base64);
    return element;
}

sglGeoSet* ReadDrawable(const CTamXmlParserNode& element, std::wstring& error) {
    sglGeoSet* drawable = NewOfKind(element.GetAttributeValue(L"Kind"));
    if (drawable == nullptr) {
        error = L"unknown drawable kind '" + element.GetAttributeValue(L"Kind") + L"'";
        return nullptr;
    }
    drawable->ref();
    unsigned int prims = 0;
    const bool read = TextToUInt(element.GetAttributeValue(L"Prims"), prims) &&
                      ReadLists(element, *drawable) && ReadState(element, *drawable) &&
                      ReadLevel(element, *drawable);
    drawable->setNumPrims(prims);
    if (!read || !drawable->isValid()) {
        error = L"damaged or inconsistent drawable";
        drawable->unref();
        return nullptr;
    }
    drawable->setName(element.GetAttributeValue(L"Name"));
    drawable->unrefNoDelete();
    return drawable;
}
