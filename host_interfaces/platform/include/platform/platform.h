// Every public header of the platform layer.
#pragma once

#include <platform/AtomicFile.h>
#include <platform/Bstr.h>
#include <platform/CString.h>
#include <platform/CodePage.h>
#include <platform/Guid.h>
#include <platform/WideFile.h>
#include <platform/WideFormat.h>
#include <platform/WideNumbers.h>
#include <platform/WinTypes.h>
