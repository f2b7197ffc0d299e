// Every public header of the scene-graph library.
#pragma once

#include <tamsg/sglBoxBound.h>
#include <tamsg/sglConstants.h>
#include <tamsg/sglDataPtr.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglLighting.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglMat4.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglNode.h>
#include <tamsg/sglObject.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglPointSize.h>
#include <tamsg/sglStatelet.h>
#include <tamsg/sglTransform.h>
#include <tamsg/sglUserData.h>
#include <tamsg/sglVec3.h>
#include <tamsg/sglVec4.h>
