#include <kvxi/KVXIDocument.h>

KVXIDocument::KVXIDocument() = default;

KVXIDocument::KVXIDocument(const KVXIFile& file) : m_path(file.GetPath()) {}

KVXIDocument::KVXIDocument(const std::string& path) : m_path(path) {}

KVXIDocument::KVXIDocument(const std::wstring& path) : m_path(KVXIFile(path).GetPath()) {}

KVXIDocument::~KVXIDocument() = default;

KVXIResult KVXIDocument::SetType(const char* type) {
    m_type = type ? type : "";
    return KVXIResult();
}

KVXIResult KVXIDocument::SetUnit(int unit) {
    if (unit < Inch || unit > Metre)
        return KVXIResult(KVXIResult::InvalidArgument);
    m_unit = unit;
    return KVXIResult();
}
