// Umbrella header of the CAD translator.
#pragma once

#include <kvxi/KVXIConverter.h>
#include <kvxi/KVXIDocument.h>
#include <kvxi/KVXIFile.h>
#include <kvxi/KVXIOptionName.h>
#include <kvxi/KVXIOptions.h>
#include <kvxi/KVXIOrikDocument.h>
#include <kvxi/KVXIResult.h>
#include <kvxi/KVXISystem.h>
#include <kvxi/KVXIValue.h>
