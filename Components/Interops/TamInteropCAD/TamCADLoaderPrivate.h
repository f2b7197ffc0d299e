// Helpers shared by the sources of CTamCADLoader (internal to the library).
#pragma once

#include <string>

class ENTITY;

namespace tam_loader {

// The current color after a reset: (0.8, 0.8, 0.9), packing to 15060172.
constexpr double kDefaultRed = 0.8;
constexpr double kDefaultGreen = 0.8;
constexpr double kDefaultBlue = 0.9;
constexpr unsigned long kDefaultPackedColor = 15060172UL;

// Kernel attribute names written by the translator.
constexpr const char* kAttribName = "ATTRIB_XORIK_NAME";
constexpr const char* kAttribLayer = "ATTRIB_XORIK_LAYER";
constexpr const char* kAttribShow = "ATTRIB_XORIK_SHOW";
constexpr const char* kAttribPlainName = "ATTRIB_NAME";
constexpr const char* kAttribValue = "KVXATTRIB_VALUE";

// Host message of a failed mass-property computation.
constexpr const wchar_t* kMassPropertiesWarning =
    L"*** WARNING ***  Unable to calculate mass properties";

// Relative accuracy asked of the kernel's face areas.
constexpr double kAreaAccuracy = 5.0;

// R | G << 8 | B << 16, each channel (0..1) times 255.0, truncated and masked to 8 bits.
unsigned long PackColor(const double rgb[3]);

// The text of the entity's named attribute: wide and narrow strings as they are, other valued
// kinds as the toolbox formats them. False, text untouched, when absent or without a value.
bool ReadAttributeText(ENTITY* entity, const char* name, std::wstring& text);

}  // namespace tam_loader
