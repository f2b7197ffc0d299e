// Umbrella header of the host tools: XML documents and nodes, properties, colors, URIs.
#pragma once

#include <tamtools/CTamColor.h>
#include <tamtools/CTamIOManager.h>
#include <tamtools/CTamKBatchProperties.h>
#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamProperty.h>
#include <tamtools/CTamURI.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>
