// Position count of line strips.
#include <tamsg/sglLineStripSet.h>

#include <algorithm>

sglGeoSet* sglLineStripSet::deepCopy() const {
    auto* copy = new sglLineStripSet;
    copyBaseInto(*copy);
    return copy;
}

unsigned int sglLineStripSet::derivedCoordCount() const {
    const unsigned int* lengths = getPrimLengths();
    if (lengths == nullptr)
        return 0;
    unsigned long long sum = 0;
    for (unsigned int i = 0, n = std::min(getNumPrims(), getReadablePrimLengths()); i < n; ++i) {
        sum += lengths[i];
    }
    return static_cast<unsigned int>(std::min<unsigned long long>(sum, ~0u));
}
