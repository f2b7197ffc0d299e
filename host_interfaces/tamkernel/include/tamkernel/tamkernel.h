// Every public header of the host kernel library.
#pragma once

#include <tamkernel/CTam2DManager.h>
#include <tamkernel/CTamPreferences.h>
#include <tamkernel/CTamProduct.h>
