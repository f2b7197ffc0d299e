// Host record attached to triangle strip sets: the level of detail they were made for.
#pragma once

#include <tamsg/sglUserData.h>

// The record a strip set carries: its level-of-detail pass, 0 being the finest.
class CTamUserDataGeoset : public sglUserData {
public:
    explicit CTamUserDataGeoset(unsigned int level = 0) : m_level(level) {}
    CTamUserDataGeoset(const CTamUserDataGeoset&) = default;
    CTamUserDataGeoset& operator=(const CTamUserDataGeoset&) = default;

    void SetLevel(unsigned int level) { m_level = level; }
    unsigned int GetLevel() const { return m_level; }

    // A copy of this record, owned by the caller.
    sglUserData* clone() const override { return new CTamUserDataGeoset(*this); }

private:
    unsigned int m_level;
};
