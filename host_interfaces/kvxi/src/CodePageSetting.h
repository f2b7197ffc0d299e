// Sets the STEP reader's code page (the static "read.step.codepage") while it lives and puts the
// previous one back.
#pragma once

#include <Interface_Static.hxx>

#include <string>

namespace tam {

class CodePageSetting {
public:
    explicit CodePageSetting(const std::string& codePage)
        : m_previous(Interface_Static::CVal("read.step.codepage")) {
        if (!codePage.empty())
            Interface_Static::SetCVal("read.step.codepage", codePage.c_str());
    }
    ~CodePageSetting() { Interface_Static::SetCVal("read.step.codepage", m_previous.c_str()); }
    CodePageSetting(const CodePageSetting&) = delete;
    CodePageSetting& operator=(const CodePageSetting&) = delete;

private:
    std::string m_previous;
};

}  // namespace tam
