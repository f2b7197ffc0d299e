// CTamEBOMParser: imports an assembly from the translator's EBOM XML and its part files.
#pragma once

#include "TamInteropCADExport.h"

#include <platform/CString.h>
#include <tamsg/sglBoxBound.h>
#include <tamsg/sglMat4.h>
#include <tamsg/sglVec3.h>

#include <list>
#include <map>
#include <memory>
#include <string>

class CTamCADLoader;
class CTamDBRoot;
class CTamMetaCollector;
class CTamXmlParserDocu;
class CTamXmlParserNode;
class ENTITY_LIST;
class sglGroup;
class sglNode;
template <class T>
class sglTransform;

// Instances nested deeper than this many levels below the assembly's Root are refused (with one
// message through the host's loading-error callback) and left out of the import, so that a
// damaged EBOM cannot exhaust the stack.
constexpr unsigned int TAM_EBOM_MAX_NESTING = 1000;

// One import of an assembly described by an EBOM (UTF-16 XML written by the translator beside
// one kernel file per part). The host builds one parser per EBOM, adjusts its settings, calls
// Parse once and destroys it. Each part is loaded and meshed once; every instance places a clone
// of its part's node under a transform. With CreateRVD the host's product XML is built as well.
//
// While a parser lives the host's assembly flag (sglModelLoader::m_sbIsAssembly) and its
// loader's assembly flag are set. Copies share the loader, the source-file string, the assembly
// entities, the metadata collector and the EBOM file; each copy holds its own references on the
// part nodes and the assembly node. What the copies share is released, the EBOM file deleted and
// both assembly flags cleared once, by the last of them to go.
class TAMINTEROPCAD_API CTamEBOMParser {
public:
    // The entities of one part and the file they stand for; pEntities is null when the part is
    // not loaded as kernel entities.
    struct PartEntities {
        ENTITY_LIST* pEntities = nullptr;
        std::wstring sPath;
    };

    // A parser over the EBOM file for the source CAD file (neither string null), using loader
    // (may be null here, but must be set before Parse). Sets both assembly flags and, when the
    // host imports metadata, creates the metadata collector.
    CTamEBOMParser(const wchar_t* fileNameEBOM, const wchar_t* sourceFile, CTamCADLoader* loader);
    // Copies every member; shared resources are counted, part and assembly nodes referenced.
    CTamEBOMParser(const CTamEBOMParser& other);
    CTamEBOMParser& operator=(const CTamEBOMParser& other);
    // Releases the part nodes and the assembly node; the last copy also deletes the EBOM file
    // and the metadata collector and clears the loader's and the host's assembly flags.
    virtual ~CTamEBOMParser();

    // Settings (defaults: ReadIssuedFromFile, ReadNotIssuedFromFile, CheckIfFileIsUsed,
    // CreateRVD and UsePathOktAsMapEntitiesKey on; the others off).
    void SetReadIssuedFromFile(bool value);
    bool GetReadIssuedFromFile() const;
    void SetReadNotIssuedFromFile(bool value);
    bool GetReadNotIssuedFromFile();
    void SetReadAssemblyFreeParts(bool value);
    bool GetReadAssemblyFreeParts() const;
    void SetCheckIfFileIsUsed(bool value);
    bool GetCheckIfFileIsUsed() const;
    void SetCreateRVD(bool value);
    bool GetCreateRVD() const;
    void SetIsMirexV4(bool value);
    bool GetIsMirexV4() const;
    void SetUseRefLinkIdAsName(bool value);
    bool GetUseRefLinkIdAsName() const;
    void SetUsePathOktAsMapEntitiesKey(bool value);
    bool GetUsePathOktAsMapEntitiesKey() const;

    // Folder against which part paths that are no existing files are resolved; empty: none.
    void SetCurrentPath(std::wstring path);
    std::wstring GetCurrentPath() const;
    // Replaces the loader; touches no loader flag.
    void SetLoader(CTamCADLoader* loader);
    std::wstring GetFileNameEBOM() const;
    // The assembly's own entities (not owned): bounded with the parts and meshed; their
    // entities are deleted by BuildMesh.
    void SetEntityListAssembly(ENTITY_LIST* entities);
    // Sets the assembly's own node, handing over one counted reference (none is taken here).
    void SetNodeAssembly(sglGroup* node);

    // Runs the whole import: returns a new model root owned by the caller holding the assembly
    // group and, with CreateRVD, the product XML; null when cancelled, when the EBOM holds no
    // usable structure, or when a stage failed (then one message with code 8 announces the
    // caller's flat import). The host's merge and no-entities flags are as before on return.
    CTamDBRoot* Parse();

    // Stages, in the order Parse runs them; each may be called on its own.
    // Loads the EBOM (its first line stripped first); an unreadable file is reported once and
    // leaves an empty document, in which the later stages find nothing.
    void LoadXML();
    // Reads the References, Documents and instances: every leaf instance's world placement.
    void GetListOkt();
    // Loads each used part's kernel entities once; kernel part files are deleted after loading.
    void BuildEntities();
    // The box of all placed parts (and the assembly's own entities); always holds the origin.
    sglBoxBound GetBBox();
    // Meshes each part once into a node held by the parser; deletes the part entities.
    void BuildMesh();
    // Writes the metadata definitions into the product XML (nothing without one).
    void AddCommonMetaProperties();
    // Builds the assembly tree (and its product XML); a new group owned by the caller, or null
    // when the EBOM has no Exposition/Structure/Root, no Reference or an empty Root.
    sglGroup* BuildAssy();

    // p x m with the homogeneous divide when w is not exactly 0.
    static sglVec3<float> GetTransformedPoint(const sglMat4<float>& m, const sglVec3<float>& p);
    // Widens box by the eight corners of the box spanned by a and b, each transformed by m.
    static void BBoxTransform(const sglMat4<float>& m, const sglVec3<float>& a,
                              const sglVec3<float>& b, sglBoxBound& box);

    // Removes the first line (up to and including the first line feed) of a UTF-16 file in
    // place, through the scratch file "tmp.xml" of the host's work folder. A file without line
    // feed, or one that cannot be opened (or a scratch file that cannot be), stays as it is.
    void DeleteFirstLine(const std::wstring& path) const;
    // Cuts name at its first "_xSET" unless that starts the name.
    void Remove_xSETInMirexV4Name(std::wstring& name) const;

private:
    struct SharedResources;
    struct AssemblyLevel;

    // Instance walk and placements.
    void AddOktToMapOktMatrix(std::list<std::shared_ptr<CTamXmlParserNode>> instances);
    bool SetMatrix(std::shared_ptr<CTamXmlParserNode> position, sglMat4<float>& out) const;
    sglMat4<float> ComputeMatrix(sglMat4<float>& local);

    // Part entities.
    void LoadOwnFile(const std::shared_ptr<CTamXmlParserNode>& entry);
    void LoadIssuedFromFile(const std::shared_ptr<CTamXmlParserNode>& entry,
                            const std::shared_ptr<CTamXmlParserNode>& issuedFrom);
    void FileEntities(const std::wstring& partKey, ENTITY_LIST* entities, const std::wstring& path);
    std::wstring ResolvePath(const std::wstring& path) const;
    std::wstring PartKeyOf(const std::shared_ptr<CTamXmlParserNode>& entry) const;

    // Part meshes.
    void MeshPart(const std::wstring& partKey, const PartEntities& part);
    void StoreNode(const std::wstring& partKey, sglNode* node);
    void MeshAssemblyEntities();

    // Assembly tree and product XML.
    sglGroup* AddChildToAssembly(std::list<std::shared_ptr<CTamXmlParserNode>> lstChildren,
                                 std::shared_ptr<CTamXmlParserNode> pXmlParent, sglGroup* pParent,
                                 unsigned int uiLevel, std::wstring sLevelOneName,
                                 std::wstring sParentRefLinkId) const;
    void AddInstance(const std::shared_ptr<CTamXmlParserNode>& instance,
                     AssemblyLevel& level) const;
    void AddSubAssembly(const std::shared_ptr<CTamXmlParserNode>& instance,
                        std::list<std::shared_ptr<CTamXmlParserNode>> children,
                        sglTransform<float>* transform, const std::wstring& name,
                        AssemblyLevel& level) const;
    void AddLeaf(const std::shared_ptr<CTamXmlParserNode>& instance, sglTransform<float>* transform,
                 std::wstring name, const std::wstring& color, AssemblyLevel& level) const;
    void AddNodeType(const std::shared_ptr<CTamXmlParserNode>& group, const std::wstring& refLinkId,
                     const std::wstring& parentRefLinkId) const;
    void AddGeometryEntry(const std::shared_ptr<CTamXmlParserNode>& element, sglNode* node) const;
    void AddGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                       const sglTransform<float>* pTransform, const std::wstring& sName,
                       std::map<CString, unsigned int>& mapIdent, const std::wstring& sColor) const;
    bool IsTooDeep(unsigned int level) const;

    // Product XML set-up and the end of Parse.
    void CreateProductXML();
    void AttachSelection(sglGroup* root);
    void ReportUnreadableEBOM() const;

    void CopyMembers(const CTamEBOMParser& other);
    void ReleaseResources();

    CTamCADLoader* m_pLoader;
    wchar_t* m_pszSourceFile;
    std::wstring m_sFileNameEBOM;
    std::shared_ptr<CTamXmlParserDocu> m_pDocEBOM;
    std::shared_ptr<CTamXmlParserNode> m_pNodeEBOM;
    std::list<std::shared_ptr<CTamXmlParserNode>> m_lstInstances;
    std::list<std::shared_ptr<CTamXmlParserNode>> m_lstReferences;
    std::map<std::wstring, PartEntities> m_mapEntities;
    std::map<std::wstring, sglNode*> m_mapNodes;
    std::multimap<std::wstring, sglMat4<float>> m_mapOktMatrix;
    std::list<sglMat4<float>> m_lstMatrixStack;
    std::map<std::wstring, std::wstring> m_mapReferenceShape;
    std::map<std::wstring, std::wstring> m_mapDocumentPath;
    std::wstring m_sCurrentPath;
    bool m_bReadIssuedFromFile;
    bool m_bReadNotIssuedFromFile;
    bool m_bReadAssemblyFreeParts;
    bool m_bCheckIfFileIsUsed;
    bool m_bCreateRVD;
    bool m_bIsMirexV4;
    bool m_bUseRefLinkIdAsName;
    bool m_bUsePathOktAsMapEntitiesKey;
    ENTITY_LIST* m_pEntityListAssembly;
    sglGroup* m_pNodeAssembly;
    std::shared_ptr<CTamXmlParserDocu> m_pDocRVD;
    std::shared_ptr<CTamXmlParserNode> m_pNodeDocumentRVD;
    std::shared_ptr<CTamXmlParserNode> m_pNodeServer;
    CTamMetaCollector* m_pMetaProperties;
    // What copies share (source-file string, collector, loaded entity lists, the EBOM file);
    // its use count tells the last copy.
    std::shared_ptr<SharedResources> m_pShared;
};
