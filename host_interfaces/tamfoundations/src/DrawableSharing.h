// Private: drawables shared by several geodes are written once per document and referred to.
#pragma once

#include <map>
#include <memory>
#include <string>

class CTamXmlParserNode;
class sglGeoSet;

// The drawables already written into one document (a side file, or one inline entry). The first
// occurrence is written in full; a later one becomes <Drawable Ref="id"/>, and the first one gets
// the attribute Id="id" then, so a drawable placed once is written as before. Holds a reference
// on each drawable so that its address is not reused while the document is pending.
class WrittenDrawables {
public:
    WrittenDrawables() = default;
    WrittenDrawables(const WrittenDrawables&) = delete;
    WrittenDrawables& operator=(const WrittenDrawables&) = delete;
    ~WrittenDrawables();

    // Appends the drawable to `parent`: in full on its first occurrence, else as a reference.
    void Write(CTamXmlParserNode& parent, const sglGeoSet& drawable, unsigned int level,
               bool base64);

private:
    struct Written {
        std::shared_ptr<CTamXmlParserNode> element;
        unsigned int level = 0;
        std::wstring id;
    };
    std::map<const sglGeoSet*, Written> m_written;
    unsigned int m_nextId = 1;
};

// The drawables read from one document by their Id, so that every reference to one yields the
// same drawable. A reference is resolved from the document holding it, which is indexed the
// first time one is met. Holds a reference on each drawable read.
class ReadDrawables {
public:
    ReadDrawables() = default;
    ReadDrawables(const ReadDrawables&) = delete;
    ReadDrawables& operator=(const ReadDrawables&) = delete;
    ~ReadDrawables();

    // The drawable of a <Drawable> element (new, count 0, or shared), or null with a reason.
    sglGeoSet* Read(const CTamXmlParserNode& element, std::wstring& error);

private:
    sglGeoSet* Resolve(const CTamXmlParserNode& reference, std::wstring& error);
    void Index(const CTamXmlParserNode& reference);

    std::map<std::wstring, sglGeoSet*> m_read;
    std::map<std::wstring, std::shared_ptr<CTamXmlParserNode>> m_defining;
    bool m_indexed = false;
};
