// A cheap look at OCCT's B-rep bytes before OCCT reads them: the counts that make OCCT allocate
// must fit in the bytes that follow them.
#pragma once

#include <string>

namespace orik {
namespace files {

// Throws orik_exception(ORIK_FILE_DAMAGED) unless, in bytes of OCCT's text or binary B-rep
// format, every section announces no more elements than the bytes after its header can hold and
// every 3D polygon, polygon on triangulation and triangulation announces no more nodes,
// triangles and parameters than the bytes after it hold. OCCT allocates these arrays from the
// counts before it reads them, so a damaged count would otherwise ask for gigabytes.
void checkShapeSectionCounts(const std::string& bytes, bool binary);

}  // namespace files
}  // namespace orik
