// Reading numbers from wide text, as the Windows C runtime does.
#pragma once

// The leading decimal number of text under the current locale (like wcstod); 0.0 for null,
// empty or non-numeric text.
double _wtof(const wchar_t* text);
// The leading decimal integer of text (like wcstol, base 10, clamped to the long range); 0 for
// null, empty or non-numeric text.
long _wtol(const wchar_t* text);
