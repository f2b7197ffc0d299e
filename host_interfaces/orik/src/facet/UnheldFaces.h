// Sweeping per-face caches: entries keyed by a face's TShape keep that face alive, so an entry
// whose face nobody else holds any more can never be asked for again.
#pragma once

#include <TopoDS_TShape.hxx>

#include <cstddef>
#include <iterator>

namespace orik {
namespace facet {

// Once entries (a map from TShape to a value with a `face` member holding it) has grown past
// twice its size after the last sweep, drops every entry whose face only the map holds.
template <class FaceMap>
void SweepUnheldFaces(FaceMap& entries, size_t& sizeAtLastSweep) {
    if (entries.size() <= 2 * sizeAtLastSweep + 64)
        return;
    for (auto it = entries.begin(); it != entries.end();) {
        const bool unheld = it->second.face.TShape()->GetRefCount() <= 1;
        it = unheld ? entries.erase(it) : std::next(it);
    }
    sizeAtLastSweep = entries.size();
}

}  // namespace facet
}  // namespace orik
