// Every public header of the model database library.
#pragma once

#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/CTamLog.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>
