// Reference counting, names and user data shared by every scene-graph object.
#include <tamsg/sglObject.h>
#include <tamsg/sglUserData.h>

namespace {

// Names are wide; the description keeps ASCII and shows other characters as '?'.
std::string AsciiName(const std::wstring& name) {
    std::string out;
    out.reserve(name.size());
    for (wchar_t ch : name)
        out.push_back(ch >= 0x20 && ch < 0x7f ? static_cast<char>(ch) : '?');
    return out;
}

}  // namespace

sglObject::sglObject() = default;

sglObject::~sglObject() {
    delete m_userData;
}

void sglObject::printInfo(std::ostream& out) const {
    out << className() << " \"" << AsciiName(m_name) << "\" refs=" << m_refCount << '\n';
}

void sglObject::ref() const {
    ++m_refCount;
}

unsigned int sglObject::unref() const {
    if (m_refCount > 0)
        --m_refCount;
    if (m_refCount == 0) {
        delete this;
        return 0;
    }
    return m_refCount;
}

unsigned int sglObject::unrefNoDelete() const {
    if (m_refCount > 0)
        --m_refCount;
    return m_refCount;
}

void sglObject::setUserData(sglUserData* data) {
    if (data == m_userData)
        return;
    delete m_userData;
    m_userData = data;
}
