// Private: what a CTamXmlParserNode holds of the XML engine.
#pragma once

#include <tamtools/CTamXmlParserNode.h>

#include <pugixml.hpp>

#include <memory>

// The engine's node and the document storage it lives in (kept alive by every node).
struct CTamXmlParserNode::Impl {
    std::shared_ptr<pugi::xml_document> document;
    pugi::xml_node node;
};

// A new node wrapper; an empty engine node gives an empty wrapper. Never null.
std::shared_ptr<CTamXmlParserNode> MakeXmlNode(const std::shared_ptr<pugi::xml_document>& document,
                                               pugi::xml_node node);
