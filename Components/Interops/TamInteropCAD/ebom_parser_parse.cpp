// The EBOM parser's driver: Parse, loading the EBOM, and the two text helpers.
#include "ebom_parser.h"

#include "AssemblyXmlPrivate.h"
#include "TamCADLoader.h"
#include "ebom_parserPrivate.h"

#include <tamfoundations/CTamOSInfo.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

constexpr const wchar_t* kFallbackMessage =
    L"*** ERROR *** : Loading assembly error, trying with flat method...";
constexpr unsigned int kFallbackCode = 8;

}  // namespace

CTamDBRoot* CTamEBOMParser::Parse() {
    if (sglModelLoader::m_sbCancelImport)
        return nullptr;
    if (m_pLoader == nullptr) {
        sglModelLoader::reportError(L"*** ERROR ***  Assembly import without a loader");
        return nullptr;
    }
    const bool showMessageNoEntities = sglModelLoader::m_sbShowMessageNoEntities;
    const bool mergeFileInOneActor = sglModelLoader::m_sbMergeFileInOneActor;
    sglModelLoader::m_sbShowMessageNoEntities = false;
    sglModelLoader::m_sbMergeFileInOneActor = false;

    sglGroup* root = nullptr;
    try {
        if (m_bCreateRVD)
            CreateProductXML();
        LoadXML();
        GetListOkt();
        BuildEntities();
        const sglBoxBound box = GetBBox();
        m_pLoader->SetBBoxAssembly(box);
        m_pLoader->UpdateRefinement(box);
        sglModelLoader::m_sbMergeFileInOneActor = mergeFileInOneActor;
        BuildMesh();
        if (sglModelLoader::m_sbImportMetas)
            AddCommonMetaProperties();
        root = BuildAssy();
        if (m_bCreateRVD)
            AttachSelection(root);
    } catch (...) {
        sglModelLoader::m_sbMergeFileInOneActor = mergeFileInOneActor;
        sglModelLoader::reportError(kFallbackMessage, kFallbackCode);
        if (root != nullptr) {
            root->ref();
            root->unref();
        }
        root = nullptr;
    }
    sglModelLoader::m_sbShowMessageNoEntities = showMessageNoEntities;

    if (root == nullptr)
        return nullptr;
    auto* model = new CTamDBRoot();
    model->SetSglRoot(root);
    model->SetXMLDoc(m_pDocRVD);
    return model;
}

void CTamEBOMParser::CreateProductXML() {
    m_pDocRVD = std::make_shared<CTamXmlParserDocu>(TamXMLLIB);
    const std::shared_ptr<CTamXmlParserNode> documentNode = m_pDocRVD->initialize();
    m_pDocRVD->setDeclarationNode();
    m_pNodeDocumentRVD = documentNode->AddNode(L"DocumentRVD");
}

void CTamEBOMParser::AttachSelection(sglGroup* root) {
    if (m_pNodeDocumentRVD == nullptr)
        return;
    const std::shared_ptr<CTamXmlParserNode> server = m_pNodeDocumentRVD->AddNode(L"Server");
    server->AddAttribute(L"Type", L"CTamList");
    CTamSGToXML::AddSelectionToXMLDoc(server, root);
}

void CTamEBOMParser::LoadXML() {
    m_pDocEBOM = std::make_shared<CTamXmlParserDocu>(TamXMLLIB);
    m_pDocEBOM->initialize();
    if (CTamOSInfo::GetInstance()->IsNT())
        DeleteFirstLine(m_sFileNameEBOM);
    if (!m_pDocEBOM->load(m_sFileNameEBOM))
        ReportUnreadableEBOM();
    m_pNodeEBOM = m_pDocEBOM->getDocumentElement();
}

void CTamEBOMParser::ReportUnreadableEBOM() const {
    sglModelLoader::reportError(L"*** ERROR ***  The assembly description " + m_sFileNameEBOM +
                                L" cannot be read: " + m_pDocEBOM->getLastError());
}

void CTamEBOMParser::DeleteFirstLine(const std::wstring& path) const {
    tam_assembly::DeleteFirstLine(path);
}

void CTamEBOMParser::Remove_xSETInMirexV4Name(std::wstring& name) const {
    const size_t marker = name.find(L"_xSET");
    if (marker != std::wstring::npos && marker > 0)
        name.erase(marker);
}
