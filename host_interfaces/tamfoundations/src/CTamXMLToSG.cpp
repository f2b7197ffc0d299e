// Rebuilding frames and geometry entries written by CTamSGToXML.
#include <tamfoundations/CTamXMLToSG.h>

#include "DrawableSharing.h"
#include "GeodeXml.h"
#include "GeometryFileStore.h"
#include "NumberText.h"

#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <exception>
#include <vector>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

void SetError(std::wstring* error, const std::wstring& text) {
    if (error != nullptr) {
        *error = text;
    }
}

// The <Geometry> element of the side file that carries `ident`, or an empty node.
NodePtr FindSideEntry(const CTamXmlParserDocu& sideFile, const std::wstring& ident) {
    for (const NodePtr& entry : sideFile.getDocumentElement()->GetNodesByTag(L"Geometry")) {
        if (entry->GetAttributeValue(L"Ident") == ident) {
            return entry;
        }
    }
    return std::make_shared<CTamXmlParserNode>();
}

sglGroup* BuildGroup(const CTamXmlParserNode& entry, std::wstring* error) {
    ReadDrawables read;
    std::wstring reason;
    sglGroup* group = ReadGeodes(entry, read, reason);
    if (group == nullptr) {
        SetError(error, reason);
    }
    return group;
}

// Reads an entry whose geodes lie in `sideFile` (loaded on demand from `folder` when null).
sglGroup* ReadEntry(const NodePtr& geometry, std::shared_ptr<CTamXmlParserDocu> sideFile,
                    const std::wstring& folder, std::wstring* error) {
    if (!geometry || geometry->isEmpty() || geometry->getName() != L"Geometry") {
        SetError(error, L"no geometry entry");
        return nullptr;
    }
    const std::wstring file = geometry->GetAttributeValue(L"File");
    if (file.empty()) {
        return BuildGroup(*geometry, error);
    }
    if (!sideFile) {
        sideFile = std::make_shared<CTamXmlParserDocu>();
        if (!sideFile->load(JoinFolder(folder, file))) {
            SetError(error,
                     L"cannot read geometry file '" + file + L"': " + sideFile->getLastError());
            return nullptr;
        }
    }
    const NodePtr entry = FindSideEntry(*sideFile, geometry->GetAttributeValue(L"Ident"));
    if (entry->isEmpty()) {
        SetError(error, L"geometry file '" + file + L"' holds no entry " +
                            geometry->GetAttributeValue(L"Ident"));
        return nullptr;
    }
    return BuildGroup(*entry, error);
}

}  // namespace

bool CTamXMLToSG::ReadFrame(const std::shared_ptr<CTamXmlParserNode>& frame,
                            sglMat4<float>& matrix) {
    std::vector<float> values;
    if (!frame || !TextToFloats(frame->GetAttributeValue(L"Matrix"), 16, values)) {
        return false;
    }
    matrix = sglMat4<float>(values.data());
    return true;
}

sglGroup* CTamXMLToSG::ReadGeometry(const std::shared_ptr<CTamXmlParserNode>& geometry,
                                    const CString& sideFileFolder, std::wstring* error) {
    try {
        return ReadEntry(geometry, nullptr, sideFileFolder.str(), error);
    } catch (const std::exception&) {
        SetError(error, L"out of memory while reading geometry");
        return nullptr;
    }
}

sglGroup* CTamXMLToSG::ReadGeometryFrom(const std::shared_ptr<CTamXmlParserNode>& geometry,
                                        const std::shared_ptr<CTamXmlParserDocu>& sideFile,
                                        std::wstring* error) {
    if (!sideFile) {
        SetError(error, L"no geometry file given");
        return nullptr;
    }
    try {
        return ReadEntry(geometry, sideFile, std::wstring(), error);
    } catch (const std::exception&) {
        SetError(error, L"out of memory while reading geometry");
        return nullptr;
    }
}
