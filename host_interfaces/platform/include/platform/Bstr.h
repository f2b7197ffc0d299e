// The OLE string type: a wide string allocated with its length.
#pragma once

typedef wchar_t* BSTR;

// A new copy of text (null text gives null); release it with SysFreeString.
BSTR SysAllocString(const wchar_t* text);
// Releases a string made by SysAllocString; null is ignored.
void SysFreeString(BSTR text);
// Number of characters of the string; 0 for null.
unsigned int SysStringLen(BSTR text);
