// Private: geometry side files collected in memory until the host writes them.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CTamXmlParserDocu;
class CTamXmlParserNode;
class WrittenDrawables;

// Process-wide store of side-file documents by file name (root element "RvdGeometry").
class GeometryFileStore {
public:
    static GeometryFileStore& Instance();

    // A side file's root element and the drawables already written into it.
    struct SideDocument {
        std::shared_ptr<CTamXmlParserNode> root;
        WrittenDrawables* drawables = nullptr;
    };

    // The side file `fileName`, made on first use. Never with null members.
    SideDocument Open(const std::wstring& fileName);
    // Saves every document into folder (see CTamSGToXML::WriteGeometryFiles) and forgets them.
    bool WriteAll(const std::wstring& folder);
    std::vector<std::wstring> Names() const;
    void Clear();

private:
    GeometryFileStore() = default;

    struct Pending {
        std::shared_ptr<CTamXmlParserDocu> document;
        std::shared_ptr<WrittenDrawables> drawables;
    };

    mutable std::mutex m_mutex;
    std::map<std::wstring, Pending> m_files;
};

// `name` inside `folder` ('\' joined), or `name` itself when it holds a folder or `folder` is
// empty.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);
