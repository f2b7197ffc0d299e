// Private: gathers drawables by look, kind and level, with placements baked in.
#pragma once

#include <tamsg/sglMat4.h>
#include <tamsgdb/CTamUserData.h>

#include <map>
#include <memory>
#include <vector>

class sglGeoSet;
class sglGeode;
class sglStatelet;

// Collects copies of drawables, merged per look (state and overall color) and per kind,
// level and bindings, then makes one geode per look.
class GeometryMerger {
public:
    GeometryMerger();
    ~GeometryMerger();
    GeometryMerger(const GeometryMerger&) = delete;
    GeometryMerger& operator=(const GeometryMerger&) = delete;

    // Adds the drawables of `geode` placed by `placement` (p' = p x M); invalid ones are skipped.
    // A drawable without level record belongs to `fallbackLevel`.
    void AddGeode(const sglGeode& geode, const sglMat4<float>& placement,
                  unsigned int fallbackLevel);

    // New geodes (count 0, owned by the caller), one per look in order of first appearance,
    // named `name`. True in `hasLevels` when some drawable belongs to a level above 0.
    std::vector<sglGeode*> BuildGeodes(const std::wstring& name, bool& hasLevels) const;

private:
    struct Look;
    std::vector<std::unique_ptr<Look>> m_looks;
};
