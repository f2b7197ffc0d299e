#include <tamfoundations/CTamOSInfo.h>

#include <platform/CodePage.h>

#include <sys/utsname.h>

#include <string>

CTamOSInfo* CTamOSInfo::GetInstance() {
    static CTamOSInfo instance;
    return &instance;
}

CString CTamOSInfo::GetName() const {
    struct utsname names {};
    if (::uname(&names) != 0) {
        return CString(L"unknown");
    }
    return CString(tam::ToWide(std::string(names.sysname) + " " + names.release));
}
