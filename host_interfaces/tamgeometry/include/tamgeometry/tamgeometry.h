// Umbrella header of the host geometry tools: levels of detail, placements, box clipping.
#pragma once

#include <tamgeometry/CTamBBox.h>
#include <tamgeometry/CTamGeomTools.h>
