// Position count of point sets.
#include <tamsg/sglPointSet.h>

sglGeoSet* sglPointSet::deepCopy() const {
    auto* copy = new sglPointSet;
    copyBaseInto(*copy);
    return copy;
}

unsigned int sglPointSet::derivedCoordCount() const {
    return getNumPrims();
}
