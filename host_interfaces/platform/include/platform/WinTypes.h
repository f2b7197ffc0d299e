// The few Windows type names and constants that the platform functions use.
#pragma once

#include <cstdint>

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef int BOOL;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;

// Code pages understood by the conversion functions: the ANSI code page (the process locale)
// and UTF-8.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// Conversion flag: fail on invalid input instead of substituting characters.
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;

// Longest path the fixed-size buffers of callers are meant to hold.
constexpr int MAX_PATH = 260;
