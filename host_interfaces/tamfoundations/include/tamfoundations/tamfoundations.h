// Umbrella header of the host foundations: file and identifier rules, optimizer, XML writers.
#pragma once

#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamOSInfo.h>
#include <tamfoundations/CTamOptimizer.h>
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>
