// CTamMetaCollector: the user-defined attributes of an assembly's documents, gathered while the
// assembly XML is read and written into the product XML.
#pragma once

#include "TamInteropCADExport.h"

#include <map>
#include <memory>
#include <string>

class CTamXmlParserNode;
class sglGroup;

// Metadata per key (a document name without its extension). Each key's (name, value) pairs are
// kept in the metadata set of a group that never enters a scene graph, because the host writes
// metadata definitions from groups. One collector per assembly parser; not copyable.
class TAMINTEROPCAD_API CTamMetaCollector {
public:
    // An empty collector.
    CTamMetaCollector();
    CTamMetaCollector(const CTamMetaCollector&) = delete;
    CTamMetaCollector& operator=(const CTamMetaCollector&) = delete;
    // Deletes every stored group that nobody else holds a counted reference on.
    virtual ~CTamMetaCollector();

    // Files the Param (Name, Value) pairs of one UserDefinedAttribute element under its Name cut
    // before the first '.'; replaces an earlier entry of the same key. Param names are made
    // valid metadata names ('_' replaces what the host refuses); empty names are dropped, and an
    // element without any named Param stores nothing. An empty or null element is ignored.
    void AddUserDefinedAttribute(std::shared_ptr<CTamXmlParserNode> attribute);

    // Adds one element "Meta.<property name, blanks as '_'>" with attribute "Value" per pair
    // stored for the node name (cut before its first '.') to `neutral`. Nothing for a name
    // whose extension starts with "prt" (a part file), an unknown name or a null element.
    void WriteMetaProperties(const std::wstring& name,
                             std::shared_ptr<CTamXmlParserNode> neutral) const;

    // Writes the definitions of all stored metadata into the "MetaProperties" element, key by
    // key in key order.
    void WriteMetaDefinitions(std::shared_ptr<CTamXmlParserNode> metaProperties) const;

private:
    std::map<std::wstring, sglGroup*> m_mapMetaGroups;
};
