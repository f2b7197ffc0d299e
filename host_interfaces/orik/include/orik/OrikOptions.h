// Per-call options handed to api_* functions (a null pointer means the defaults).
#pragma once

#include <orik/ORIK_OBJECT.h>

// A kernel behaviour version (major, minor, point).
class OrikVersion {
public:
    OrikVersion() = default;
    OrikVersion(int major, int minor, int point) : major_(major), minor_(minor), point_(point) {}
    int major_version() const { return major_; }
    int minor_version() const { return minor_; }
    int point_version() const { return point_; }

private:
    int major_ = 0;
    int minor_ = 0;
    int point_ = 0;
};

// Call options. The version pins the behaviour of a call; every version behaves alike in this
// kernel, so it is recorded only. Owned by whoever creates it (new OrikOptions).
class OrikOptions : public ORIK_OBJECT {
public:
    OrikOptions() = default;
    void set_version(const OrikVersion& version) { version_ = version; }
    const OrikVersion& get_version() const { return version_; }

private:
    OrikVersion version_;
};
