# The one place that knows which Open CASCADE the project builds on.
# OCCT's version file demands an exact match, so the version is checked here instead.
find_package(OpenCASCADE REQUIRED CONFIG)
if(OpenCASCADE_VERSION VERSION_LESS 7.6 OR OpenCASCADE_VERSION VERSION_GREATER_EQUAL 7.7)
    message(FATAL_ERROR "Open CASCADE ${OpenCASCADE_VERSION} found; the project is tested with 7.6")
endif()

# Toolkits by role, so that each component links only what it uses.
set(TAM_OCCT_KERNEL_LIBS TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKTopAlgo
    TKMesh TKShHealing TKPrim TKBO TKBool)
set(TAM_OCCT_EXCHANGE_LIBS TKXSBase TKSTEP TKSTEPBase TKSTEPAttr TKSTEP209 TKXDESTEP
    TKXCAF TKLCAF TKCAF TKCDF TKVCAF TKService TKV3d)
set(TAM_OCCT_IGES_LIBS TKIGES TKXDEIGES)
set(TAM_OCCT_MESH_FORMAT_LIBS TKSTL TKRWMesh)

# OCCT's include folder for the targets that include OCCT headers: link this instead of naming the
# folder. Installed headers never need it.
add_library(tam_occt_headers INTERFACE)
target_include_directories(tam_occt_headers SYSTEM INTERFACE ${OpenCASCADE_INCLUDE_DIR})
