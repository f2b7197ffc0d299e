// Polylines: each primitive a strip of consecutive positions.
#pragma once

#include <tamsg/sglGeoSet.h>

// Line strips over consecutive positions: strip k uses the next primLengths[k] positions.
// Without a coordinate count the number of positions is the sum of the strip lengths.
class sglLineStripSet : public sglGeoSet {
public:
    sglLineStripSet() = default;

    sglGeoSet* deepCopy() const override;

protected:
    const char* className() const override { return "sglLineStripSet"; }
    unsigned int derivedCoordCount() const override;
};
