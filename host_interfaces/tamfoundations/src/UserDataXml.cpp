#include "UserDataXml.h"

#include "NumberText.h"
#include "XmlValues.h"

#include <tamsgdb/CTamUserData.h>
#include <tamtools/CTamXmlParserNode.h>

#include <string>

void WriteUserData(CTamXmlParserNode& parent, const CTamUserData& record) {
    std::shared_ptr<CTamXmlParserNode> element = parent.AddNode(L"UserData");
    element->AddAttribute(L"Guid", record.GetGuid());
    element->AddAttribute(L"Layer", std::to_wstring(record.GetLayer()));
    element->AddAttribute(L"Volume", FloatToText(record.GetVolume()));
    element->AddAttribute(L"Area", FloatToText(record.GetArea()));
    element->AddAttribute(L"IssuedFrom", record.GetIssuedFrom());
    SetFloatsAttribute(*element, L"CofG", record.GetCofG().getPtr(), 3);
    float axes[9];
    for (unsigned int i = 0; i < 3; ++i) {
        const sglVec3<float> axis = record.GetInertiaAxis(i);
        for (unsigned int k = 0; k < 3; ++k) {
            axes[3 * i + k] = axis[k];
        }
    }
    SetFloatsAttribute(*element, L"Axes", axes, 9);
    element->AddAttribute(L"Kind", std::to_wstring(record.GetEntityKind()));
    element->AddAttribute(L"Visible", record.GetVisible() ? L"1" : L"0");
    element->AddAttribute(L"Tolerance", FloatToText(record.GetFacetingTolerance()));
    element->AddAttribute(L"AssemblyName", record.GetAssemblyName());
    element->AddAttribute(L"Label", record.GetLabel());
}

bool ReadUserData(const CTamXmlParserNode& element, CTamUserData& record) {
    int layer = 0;
    unsigned int kind = 0;
    float volume = 0.0f;
    float area = 0.0f;
    float tolerance = 0.0f;
    float cofg[3];
    float axes[9];
    const std::wstring visible = element.GetAttributeValue(L"Visible");
    if (!TextToInt(element.GetAttributeValue(L"Layer"), layer) ||
        !TextToUInt(element.GetAttributeValue(L"Kind"), kind) ||
        !TextToFloat(element.GetAttributeValue(L"Volume"), volume) ||
        !TextToFloat(element.GetAttributeValue(L"Area"), area) ||
        !TextToFloat(element.GetAttributeValue(L"Tolerance"), tolerance) ||
        !GetFloatsAttribute(element, L"CofG", 3, cofg) ||
        !GetFloatsAttribute(element, L"Axes", 9, axes) || (visible != L"0" && visible != L"1")) {
        return false;
    }
    CTamUserData read;
    read.SetGuid(element.GetAttributeValue(L"Guid"));
    read.SetLayer(layer);
    read.SetVolume(volume);
    read.SetArea(area);
    read.SetIssuedFrom(element.GetAttributeValue(L"IssuedFrom"));
    read.SetCofG(sglVec3<float>(cofg[0], cofg[1], cofg[2]));
    const sglVec3<float> axisVectors[3] = {sglVec3<float>(axes[0], axes[1], axes[2]),
                                           sglVec3<float>(axes[3], axes[4], axes[5]),
                                           sglVec3<float>(axes[6], axes[7], axes[8])};
    read.SetInertiaAxes(axisVectors);
    read.SetEntityKind(kind);
    read.SetVisible(visible == L"1");
    read.SetFacetingTolerance(tolerance);
    read.SetAssemblyName(element.GetAttributeValue(L"AssemblyName"));
    read.SetLabel(element.GetAttributeValue(L"Label"));
    record = read;
    return true;
}
