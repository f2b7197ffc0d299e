// Umbrella header of the kernel: every public declaration except the OCCT bridge
// (<orik/OrikOcctBridge.h>, which exposes Open CASCADE types).
#pragma once

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/BODY.h>
#include <orik/EDGE.h>
#include <orik/ENTITY.h>
#include <orik/ENTITY_LIST.h>
#include <orik/FACE.h>
#include <orik/FileInfo.h>
#include <orik/INDEXED_MESH_MANAGER.h>
#include <orik/KVXCOLLECTION.h>
#include <orik/KVXtransf.h>
#include <orik/MESH_MANAGER.h>
#include <orik/ORIK_OBJECT.h>
#include <orik/OrikAttribApi.h>
#include <orik/OrikFacetApi.h>
#include <orik/OrikGeometryApi.h>
#include <orik/OrikKernelApi.h>
#include <orik/OrikOptions.h>
#include <orik/OrikTopologyApi.h>
#include <orik/OrikTypes.h>
#include <orik/REFINEMENT.h>
#include <orik/SURFACE.h>
#include <orik/VERTEX.h>
#include <orik/WCS.h>
#include <orik/WIRE.h>
#include <orik/facet_options.h>
#include <orik/mass_props.h>
#include <orik/mass_props_options.h>
#include <orik/orik_exception.h>
#include <orik/outcome.h>
#include <orik/OrikFiles.h>
