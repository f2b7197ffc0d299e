#include <tamtools/CTamXmlParserNode.h>

#include <platform/CodePage.h>

#include "XmlNodeImpl.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           static_cast<unsigned long>(c) >= 0xC0;
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' ||
           static_cast<unsigned long>(c) == 0xB7;
}

// A simplified XML Name production: enough to keep the written document well-formed.
bool IsValidXmlName(const std::wstring& name) {
    if (name.empty() || !IsNameStart(name[0])) {
        return false;
    }
    for (wchar_t c : name) {
        if (!IsNameChar(c)) {
            return false;
        }
    }
    return true;
}

bool IsTextNode(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

}  // namespace

std::shared_ptr<CTamXmlParserNode> MakeXmlNode(const std::shared_ptr<pugi::xml_document>& document,
                                               pugi::xml_node node) {
    if (!node) {
        return std::make_shared<CTamXmlParserNode>();
    }
    auto impl = std::make_unique<CTamXmlParserNode::Impl>();
    impl->document = document;
    impl->node = node;
    return std::make_shared<CTamXmlParserNode>(std::move(impl));
}

CTamXmlParserNode::CTamXmlParserNode() = default;

CTamXmlParserNode::CTamXmlParserNode(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CTamXmlParserNode::~CTamXmlParserNode() = default;

bool CTamXmlParserNode::isEmpty() const {
    return !m_impl || !m_impl->node;
}

std::wstring CTamXmlParserNode::getName() const {
    if (isEmpty() || m_impl->node.type() != pugi::node_element) {
        return std::wstring();
    }
    return tam::Utf8ToWideReplacing(m_impl->node.name());
}

std::shared_ptr<CTamXmlParserNode> CTamXmlParserNode::GetNodeByTag(const std::wstring& tag) const {
    if (isEmpty()) {
        return std::make_shared<CTamXmlParserNode>();
    }
    const std::string name = tam::WideToUtf8Replacing(tag);
    for (pugi::xml_node child : m_impl->node.children()) {
        if (child.type() == pugi::node_element && name == child.name()) {
            return MakeXmlNode(m_impl->document, child);
        }
    }
    return std::make_shared<CTamXmlParserNode>();
}

std::list<std::shared_ptr<CTamXmlParserNode>> CTamXmlParserNode::GetNodesByTag(
    const std::wstring& tag) const {
    std::list<std::shared_ptr<CTamXmlParserNode>> found;
    if (isEmpty()) {
        return found;
    }
    const std::string name = tam::WideToUtf8Replacing(tag);
    for (pugi::xml_node child : m_impl->node.children()) {
        if (child.type() == pugi::node_element && name == child.name()) {
            found.push_back(MakeXmlNode(m_impl->document, child));
        }
    }
    return found;
}

std::list<std::shared_ptr<CTamXmlParserNode>> CTamXmlParserNode::getChildNodes() const {
    std::list<std::shared_ptr<CTamXmlParserNode>> found;
    if (isEmpty()) {
        return found;
    }
    for (pugi::xml_node child : m_impl->node.children()) {
        if (child.type() == pugi::node_element) {
            found.push_back(MakeXmlNode(m_impl->document, child));
        }
    }
    return found;
}

std::wstring CTamXmlParserNode::GetAttributeValue(const std::wstring& name) const {
    if (isEmpty()) {
        return std::wstring();
    }
    const pugi::xml_attribute attribute =
        m_impl->node.attribute(tam::WideToUtf8Replacing(name).c_str());
    return attribute ? tam::Utf8ToWideReplacing(attribute.value()) : std::wstring();
}

bool CTamXmlParserNode::HasAttribute(const std::wstring& name) const {
    return !isEmpty() && m_impl->node.attribute(tam::WideToUtf8Replacing(name).c_str());
}

std::wstring CTamXmlParserNode::getText() const {
    if (isEmpty()) {
        return std::wstring();
    }
    std::string text;
    for (pugi::xml_node child : m_impl->node.children()) {
        if (IsTextNode(child)) {
            text += child.value();
        }
    }
    return tam::Utf8ToWideReplacing(text);
}

bool CTamXmlParserNode::getTextUpTo(std::size_t maxLength, std::wstring& text) const {
    text.clear();
    if (isEmpty()) {
        return true;
    }
    // A character takes at most four UTF-8 bytes, so more bytes than that cannot fit.
    const std::size_t maxBytes = maxLength > SIZE_MAX / 4 ? SIZE_MAX : maxLength * 4;
    std::string bytes;
    for (pugi::xml_node child : m_impl->node.children()) {
        if (!IsTextNode(child)) {
            continue;
        }
        const std::size_t size = std::strlen(child.value());
        if (size > maxBytes - bytes.size()) {
            return false;
        }
        bytes += child.value();
    }
    text = tam::Utf8ToWideReplacing(bytes);
    if (text.size() > maxLength) {
        text.clear();
        return false;
    }
    return true;
}

bool CTamXmlParserNode::setText(const std::wstring& text) {
    if (isEmpty() || m_impl->node.type() != pugi::node_element) {
        return false;
    }
    pugi::xml_node child = m_impl->node.first_child();
    while (child) {
        pugi::xml_node next = child.next_sibling();
        if (IsTextNode(child)) {
            m_impl->node.remove_child(child);
        }
        child = next;
    }
    return m_impl->node.append_child(pugi::node_pcdata)
        .set_value(tam::WideToUtf8Replacing(text).c_str());
}

std::shared_ptr<CTamXmlParserNode> CTamXmlParserNode::getParentNode() const {
    if (isEmpty()) {
        return std::make_shared<CTamXmlParserNode>();
    }
    return MakeXmlNode(m_impl->document, m_impl->node.parent());
}

std::shared_ptr<CTamXmlParserNode> CTamXmlParserNode::AddNode(const std::wstring& name) {
    if (isEmpty() || !IsValidXmlName(name)) {
        return std::make_shared<CTamXmlParserNode>();
    }
    const pugi::xml_node_type type = m_impl->node.type();
    if (type != pugi::node_element && type != pugi::node_document) {
        return std::make_shared<CTamXmlParserNode>();
    }
    return MakeXmlNode(m_impl->document,
                       m_impl->node.append_child(tam::WideToUtf8Replacing(name).c_str()));
}

bool CTamXmlParserNode::AddAttribute(const std::wstring& name, const std::wstring& value) {
    if (isEmpty() || m_impl->node.type() != pugi::node_element || !IsValidXmlName(name)) {
        return false;
    }
    const std::string key = tam::WideToUtf8Replacing(name);
    pugi::xml_attribute attribute = m_impl->node.attribute(key.c_str());
    if (!attribute) {
        attribute = m_impl->node.append_attribute(key.c_str());
    }
    return attribute && attribute.set_value(tam::WideToUtf8Replacing(value).c_str());
}
