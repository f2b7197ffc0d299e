// CTamXmlOnlyParser: an assembly held only as XML, turned into the host's product XML in which
// every part and every sub-assembly with a document of its own is a reference to another
// product XML file. Nothing is loaded or meshed.
#pragma once

#include "TamInteropCADExport.h"

#include <platform/CString.h>
#include <tamsg/sglMat4.h>

#include <list>
#include <map>
#include <memory>
#include <string>

class CTamCADLoader;
class CTamDBRoot;
class CTamMetaCollector;
class CTamXmlParserDocu;
class CTamXmlParserNode;
template <class T>
class sglTransform;

// Reads an assembly description in the EBOM vocabulary (document entries, Exposition,
// Structure, Root, instances, References, Documents) and saves a product XML named after the
// source CAD file with the extension ".rvdXml", beside it or in the host's save folder. Built
// once per import, Parse called once. While a parser exists the host flag
// sglModelLoader::m_sbIsAssembly is set.
class TAMINTEROPCAD_API CTamXmlOnlyParser {
public:
    // Keeps the XML path, a copy of the source CAD file path and the loader (not used by this
    // road, not touched). Creates the metadata collector when sglModelLoader::m_sbImportMetas is
    // set. Null strings read as empty.
    CTamXmlOnlyParser(const wchar_t* fileNameXml, const wchar_t* sourceFile, CTamCADLoader* loader);
    // Member-wise copy: documents, the source path copy and the collector are shared; the last
    // copy destroyed releases the source path copy and the collector.
    CTamXmlOnlyParser(const CTamXmlOnlyParser& other);
    CTamXmlOnlyParser& operator=(const CTamXmlOnlyParser& other);
    // Deletes the input XML file from disk and clears sglModelLoader::m_sbIsAssembly, whether
    // Parse ran or not.
    virtual ~CTamXmlOnlyParser();

    // Name instances by their RefLink id instead of their Name (default off).
    void SetUseRefLinkIdAsName(bool useRefLinkIdAsName);
    bool GetUseRefLinkIdAsName() const;

    // Runs the import and saves the product XML; always returns null. Cancelled before the
    // start: nothing written. An error inside the stages gives one host message with code 8,
    // and the product XML as far as it was built is saved all the same. A failed save is not
    // reported (the file is replaced whole or not at all).
    CTamDBRoot* Parse();

    // Stages of Parse, each callable on its own.
    // Loads the input XML (its first line stripped first); a file that does not load leaves the
    // document element empty and every later stage finds nothing.
    void LoadXML();
    // Fills the Reference-to-Shape and Document-to-path maps (and the metadata collector) from
    // the loaded XML; stops quietly where the structure is missing. Only adds.
    void BuildMaps();
    // Writes the assembly nodes into the product XML (needs Parse's "DocumentRVD" element to
    // write anything); builds no scene graph.
    void BuildAssy();
    // Writes the metadata definitions Server into the product XML, when it is being built.
    void AddCommonMetaProperties();

private:
    struct SharedParts;
    struct WalkContext;

    void AddChildToAssembly(std::list<std::shared_ptr<CTamXmlParserNode>> lstChildren,
                            std::shared_ptr<CTamXmlParserNode> pXmlParent) const;
    // The walk of AddChildToAssembly with its nesting depth, bounded so that deep input ends
    // in one message instead of exhausting the stack.
    void AddChildToAssembly(const std::list<std::shared_ptr<CTamXmlParserNode>>& lstChildren,
                            const std::shared_ptr<CTamXmlParserNode>& pXmlParent,
                            WalkContext& context) const;
    // One instance of the walk; its Child elements are walked when it is expanded in place.
    void AddInstanceToAssembly(const std::shared_ptr<CTamXmlParserNode>& instance,
                               const std::shared_ptr<CTamXmlParserNode>& pXmlParent,
                               std::map<CString, unsigned int>& mapIdent,
                               WalkContext& context) const;
    // True when the RefLink id names a document or a Reference; sets the reference path.
    bool FindReferencePath(const std::wstring& id, std::wstring& path) const;

    void AddGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                       const sglTransform<float>* pTransform, const std::wstring& sName,
                       std::map<CString, unsigned int>& mapIdent) const;
    void AddReferencedGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                                 const sglTransform<float>* pTransform, const std::wstring& sName,
                                 const std::wstring& sFilePath,
                                 std::map<CString, unsigned int>& mapIdent,
                                 const std::wstring& sColor) const;
    bool SetMatrix(std::shared_ptr<CTamXmlParserNode> position, sglMat4<float>& out) const;
    void DeleteFirstLine(const std::wstring& path) const;

    // Where Parse saves the product XML.
    std::wstring GetProductXmlPath() const;
    // The "IsInstanceOf" text of a referenced document.
    std::wstring GetInstanceOfText(const std::wstring& documentPath) const;

    CTamCADLoader* m_pLoader = nullptr;
    wchar_t* m_pszSourceFile = nullptr;
    std::wstring m_sFileNameXml;
    std::shared_ptr<CTamXmlParserDocu> m_pDocXml;
    std::shared_ptr<CTamXmlParserNode> m_pNodeXml;
    std::list<std::shared_ptr<CTamXmlParserNode>> m_lstInstances;
    std::list<std::shared_ptr<CTamXmlParserNode>> m_lstReferences;
    std::list<std::shared_ptr<CTamXmlParserNode>> m_lstDocuments;
    std::map<std::wstring, std::wstring> m_mapReferenceShape;
    std::map<std::wstring, std::wstring> m_mapDocumentPath;
    bool UseRefLinkIdAsName = false;
    std::shared_ptr<CTamXmlParserDocu> m_pDocRVD;
    std::shared_ptr<CTamXmlParserNode> m_pNodeDocumentRVD;
    std::shared_ptr<CTamXmlParserNode> m_pNodeServer;
    CTamMetaCollector* m_pMetaProperties = nullptr;
    // Owner of the source path copy and the collector, shared by copies of the parser.
    std::shared_ptr<SharedParts> m_pSharedParts;
};
