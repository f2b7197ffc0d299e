// Private: a product XML file referenced with "IsInstanceOf", as CTamProductXmlReader keeps it.
#pragma once

#include <tamfoundations/CTamProductXmlReader.h>
#include <tamsg/sglGroup.h>

// A referenced file read once: its root group (one reference held), or null when unreadable.
struct CTamProductXmlReader::ReferencedDocument {
    ReferencedDocument() = default;
    ReferencedDocument(const ReferencedDocument&) = delete;
    ReferencedDocument& operator=(const ReferencedDocument&) = delete;
    ~ReferencedDocument() {
        if (root != nullptr)
            root->unref();
    }
    sglGroup* root = nullptr;
};
