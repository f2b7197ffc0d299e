#include "DrawableSharing.h"

#include "DrawableXml.h"

#include <tamsg/sglGeoSet.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

const wchar_t* const kId = L"Id";
const wchar_t* const kRef = L"Ref";

// The element whose geometry entries a reference may name: the side file's root when the entry
// lies in one, else the entry itself.
NodePtr ScopeOf(const CTamXmlParserNode& reference) {
    NodePtr geode = reference.getParentNode();
    NodePtr entry = geode->getParentNode();
    NodePtr above = entry->getParentNode();
    return above->getName() == L"RvdGeometry" ? above : entry;
}

}  // namespace

WrittenDrawables::~WrittenDrawables() {
    for (const auto& entry : m_written) {
        entry.first->unref();
    }
}

void WrittenDrawables::Write(CTamXmlParserNode& parent, const sglGeoSet& drawable,
                             unsigned int level, bool base64) {
    const auto found = m_written.find(&drawable);
    if (found == m_written.end()) {
        NodePtr element = WriteDrawable(parent, drawable, level, base64);
        if (element) {
            drawable.ref();
            m_written.emplace(&drawable, Written{element, level, std::wstring()});
        }
        return;
    }
    Written& first = found->second;
    if (first.level != level) {  // one drawable carries one level when read back
        WriteDrawable(parent, drawable, level, base64);
        return;
    }
    if (first.id.empty()) {
        first.id = L"D" + std::to_wstring(m_nextId++);
        first.element->AddAttribute(kId, first.id);
    }
    parent.AddNode(L"Drawable")->AddAttribute(kRef, first.id);
}

ReadDrawables::~ReadDrawables() {
    for (const auto& entry : m_read) {
        entry.second->unref();
    }
}

sglGeoSet* ReadDrawables::Read(const CTamXmlParserNode& element, std::wstring& error) {
    if (element.HasAttribute(kRef)) {
        return Resolve(element, error);
    }
    const std::wstring id = element.GetAttributeValue(kId);
    const auto known = m_read.find(id);
    if (!id.empty() && known != m_read.end()) {
        return known->second;
    }
    sglGeoSet* drawable = ReadDrawable(element, error);
    if (drawable != nullptr && !id.empty()) {
        drawable->ref();
        m_read.emplace(id, drawable);
    }
    return drawable;
}

sglGeoSet* ReadDrawables::Resolve(const CTamXmlParserNode& reference, std::wstring& error) {
    const std::wstring id = reference.GetAttributeValue(kRef);
    const auto known = m_read.find(id);
    if (known != m_read.end()) {
        return known->second;
    }
    if (!m_indexed) {
        Index(reference);
    }
    const auto defining = m_defining.find(id);
    if (defining == m_defining.end()) {
        error = L"reference to unknown drawable '" + id + L"'";
        return nullptr;
    }
    sglGeoSet* drawable = ReadDrawable(*defining->second, error);
    if (drawable != nullptr) {
        drawable->ref();
        m_read.emplace(id, drawable);
    }
    return drawable;
}

void ReadDrawables::Index(const CTamXmlParserNode& reference) {
    m_indexed = true;
    const NodePtr scope = ScopeOf(reference);
    std::list<NodePtr> entries;
    if (scope->getName() == L"Geometry") {
        entries.push_back(scope);
    } else {
        entries = scope->GetNodesByTag(L"Geometry");
    }
    for (const NodePtr& entry : entries) {
        for (const NodePtr& geode : entry->GetNodesByTag(L"Geode")) {
            for (const NodePtr& drawable : geode->GetNodesByTag(L"Drawable")) {
                if (drawable->HasAttribute(kId) && !drawable->HasAttribute(kRef)) {
                    m_defining.emplace(drawable->GetAttributeValue(kId), drawable);
                }
            }
        }
    }
}
