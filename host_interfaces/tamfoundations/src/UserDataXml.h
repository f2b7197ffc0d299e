// Private: the <UserData> element holding a geode's CTamUserData record.
#pragma once

#include <memory>

class CTamUserData;
class CTamXmlParserNode;

// Appends <UserData .../> with every item of the record to `parent`.
void WriteUserData(CTamXmlParserNode& parent, const CTamUserData& record);
// Reads an element written by WriteUserData; false (record untouched) when an item is missing
// or malformed.
bool ReadUserData(const CTamXmlParserNode& element, CTamUserData& record);
