// Private: geometry side files collected in memory until the host writes them.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CTamXmlParserDocu;
class CTamXmlParserNode;

// Process-wide store of side-file documents by file name (root element "RvdGeometry").
class GeometryFileStore {
public:
    static GeometryFileStore& Instance();

    // The root element of the side file `fileName`, made on first use. Never null.
    std::shared_ptr<CTamXmlParserNode> RootOf(const std::wstring& fileName);
    // Saves every document into folder (see CTamSGToXML::WriteGeometryFiles) and forgets them.
    bool WriteAll(const std::wstring& folder);
    std::vector<std::wstring> Names() const;
    void Clear();

private:
    GeometryFileStore() = default;

    mutable std::mutex m_mutex;
    std::map<std::wstring, std::shared_ptr<CTamXmlParserDocu>> m_files;
};

// `name` inside `folder` ('\' joined), or `name` itself when it holds a folder or `folder` is
// empty.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);
