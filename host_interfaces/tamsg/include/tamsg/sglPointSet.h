// Points: one position per primitive.
#pragma once

#include <tamsg/sglGeoSet.h>

// Points, one position per primitive; without a coordinate count there are numPrims positions.
class sglPointSet : public sglGeoSet {
public:
    sglPointSet() = default;

    sglGeoSet* deepCopy() const override;

protected:
    const char* className() const override { return "sglPointSet"; }
    unsigned int derivedCoordCount() const override;
};
