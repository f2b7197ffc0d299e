// Identity of the host product.
#pragma once

#include <string>

// Name and version text of the host product.
class CTamProduct {
public:
    CTamProduct() = default;

    // Product name.
    const std::wstring& GetName() const { return m_name; }
    // Version text written into native documents ("0.1.0" by default).
    const std::wstring& GetVersion() const { return m_version; }
    void SetVersion(const std::wstring& version) { m_version = version; }

private:
    std::wstring m_name = L"tamcad";
    std::wstring m_version = L"0.1.0";
};

// The host product; never null, lives for the whole process.
CTamProduct* GetTamProduct();
