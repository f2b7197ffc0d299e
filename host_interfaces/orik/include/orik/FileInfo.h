// File information written into the kernel's files: product identification and units.
#pragma once

#include <string>

// Bits of the mask of api_set_file_info.
enum FileInfoField {
    FILEINFO_PRODUCT_ID = 1,
    FILEINFO_UNITS = 2,
};

// File information; a plain value.
class FileInfo {
public:
    FileInfo() = default;
    // Null is taken as "".
    void set_product_id(const char* id) { product_id_ = id ? id : ""; }
    const char* product_id() const { return product_id_.c_str(); }
    // Millimetres per model unit.
    void set_units(double units) { units_ = units; }
    double units() const { return units_; }

private:
    std::string product_id_;
    double units_ = 1.0;
};
