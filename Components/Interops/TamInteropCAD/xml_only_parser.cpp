// CTamXmlOnlyParser: object, settings, the Parse driver and the loading of the input XML.
#include "xml_only_parser.h"

#include "AssemblyXmlPrivate.h"
#include "meta_collector.h"

#include <platform/WideFile.h>
#include <platform/WideFormat.h>
#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamOSInfo.h>
#include <tamkernel/CTamProduct.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamIOManager.h>
#include <tamtools/CTamKBatchProperties.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <cwchar>

namespace {

// Message announcing the caller's fallback to a flat import of the same file.
constexpr const wchar_t* kFallbackMessage =
    L"*** ERROR ***: Loading assembly error, trying with flat method...";
constexpr unsigned int kFallbackCode = 8;
// Version of the product XML layout written by this road.
constexpr double kDocumentVersion = 7.9;
// The host's TamProduct value passed with the application settings.
constexpr unsigned int kTamProduct = 2;

// The application settings block: the host's settings file when it names one, else empty.
void AddApplicationSettings(const std::shared_ptr<CTamXmlParserNode>& documentRVD) {
    CTamKBatchProperties properties;
    const std::wstring settingsPath = sglModelLoader::GetIOSettingsPath();
    if (!settingsPath.empty() && CTamIO::IsFile(CString(settingsPath)))
        properties.LoadFromXML(settingsPath);
    CTamIOManager::AddManagerProperties(documentRVD, kTamProduct, properties);
}

}  // namespace

// Owns what copies of one parser share: the source path copy and the metadata collector.
struct CTamXmlOnlyParser::SharedParts {
    std::unique_ptr<wchar_t[]> sourceFile;
    std::unique_ptr<CTamMetaCollector> collector;
};

CTamXmlOnlyParser::CTamXmlOnlyParser(const wchar_t* fileNameXml, const wchar_t* sourceFile,
                                     CTamCADLoader* loader)
    : m_pLoader(loader),
      m_sFileNameXml(fileNameXml != nullptr ? fileNameXml : L""),
      m_pSharedParts(std::make_shared<SharedParts>()) {
    const std::wstring source(sourceFile != nullptr ? sourceFile : L"");
    m_pSharedParts->sourceFile = std::make_unique<wchar_t[]>(source.size() + 1);
    std::wmemcpy(m_pSharedParts->sourceFile.get(), source.c_str(), source.size() + 1);
    m_pszSourceFile = m_pSharedParts->sourceFile.get();
    sglModelLoader::m_sbIsAssembly = true;
    if (sglModelLoader::m_sbImportMetas) {
        m_pSharedParts->collector = std::make_unique<CTamMetaCollector>();
        m_pMetaProperties = m_pSharedParts->collector.get();
    }
}

CTamXmlOnlyParser::CTamXmlOnlyParser(const CTamXmlOnlyParser& other) = default;

CTamXmlOnlyParser& CTamXmlOnlyParser::operator=(const CTamXmlOnlyParser& other) = default;

CTamXmlOnlyParser::~CTamXmlOnlyParser() {
    DeleteFileW(m_sFileNameXml.c_str());
    sglModelLoader::m_sbIsAssembly = false;
    // The collector goes with the last copy, even when the metadata setting was cleared since.
    m_pMetaProperties = nullptr;
    m_pszSourceFile = nullptr;
    m_pSharedParts.reset();
}

void CTamXmlOnlyParser::SetUseRefLinkIdAsName(bool useRefLinkIdAsName) {
    UseRefLinkIdAsName = useRefLinkIdAsName;
}

bool CTamXmlOnlyParser::GetUseRefLinkIdAsName() const {
    return UseRefLinkIdAsName;
}

CTamDBRoot* CTamXmlOnlyParser::Parse() {
    if (sglModelLoader::m_sbCancelImport)
        return nullptr;
    try {
        m_pDocRVD = std::make_shared<CTamXmlParserDocu>(TamXMLLIB);
        m_pNodeDocumentRVD = m_pDocRVD->initialize()->AddNode(L"DocumentRVD");
        m_pNodeDocumentRVD->AddAttribute(L"Version", tam::FormatWide(L"%f", kDocumentVersion));
        m_pNodeDocumentRVD->AddAttribute(L"VersionVeltrix", GetTamProduct()->GetVersion());
        LoadXML();
        BuildMaps();
        if (sglModelLoader::m_sbImportMetas)
            AddCommonMetaProperties();
        BuildAssy();
        AddApplicationSettings(m_pNodeDocumentRVD);
    } catch (...) {
        sglModelLoader::m_sbMergeFileInOneActor = false;
        sglModelLoader::reportError(kFallbackMessage, kFallbackCode);
    }
    try {
        // Saved through a scratch file renamed over the target: whole or not at all.
        if (m_pDocRVD)
            m_pDocRVD->save(GetProductXmlPath());
    } catch (...) {
        // Out of memory while naming or writing the file: nothing is written.
    }
    return nullptr;
}

void CTamXmlOnlyParser::LoadXML() {
    m_pDocXml = std::make_shared<CTamXmlParserDocu>(TamXMLLIB);
    m_pDocXml->initialize();
    if (CTamOSInfo::GetInstance()->IsNT())
        DeleteFirstLine(m_sFileNameXml);
    if (m_pDocXml->load(m_sFileNameXml))
        m_pNodeXml = m_pDocXml->getDocumentElement();
}

void CTamXmlOnlyParser::DeleteFirstLine(const std::wstring& path) const {
    tam_assembly::DeleteFirstLine(path);
}

bool CTamXmlOnlyParser::SetMatrix(std::shared_ptr<CTamXmlParserNode> position,
                                  sglMat4<float>& out) const {
    return tam_assembly::ReadPosition(position, out);
}
