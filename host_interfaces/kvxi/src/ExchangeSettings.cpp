#include "ExchangeSettings.h"

#include <IGESControl_Controller.hxx>
#include <Interface_Static.hxx>
#include <STEPControl_Controller.hxx>

#include <string>
#include <vector>

namespace {

struct StaticSetting {
    const char* name;
    const char* text;  // null for an integer setting
    int integer;
};
const StaticSetting kStaticSettings[] = {{"xstep.cascade.unit", "MM", 0},
                                         {"write.step.schema", "AP214IS", 0},
                                         {"write.step.unit", "MM", 0},
                                         {"write.iges.brep.mode", nullptr, 1},
                                         {"write.iges.unit", "MM", 0}};
struct SavedStatic {
    const StaticSetting* setting;
    std::string text;
    int integer;
};
std::vector<SavedStatic> g_savedStatics;

}  // namespace

namespace tam {

void ConfigureDataExchange() {
    STEPControl_Controller::Init();
    IGESControl_Controller::Init();
    g_savedStatics.clear();
    for (const StaticSetting& setting : kStaticSettings) {
        if (setting.text != nullptr) {
            g_savedStatics.push_back({&setting, Interface_Static::CVal(setting.name), 0});
            Interface_Static::SetCVal(setting.name, setting.text);
        } else {
            g_savedStatics.push_back(
                {&setting, std::string(), Interface_Static::IVal(setting.name)});
            Interface_Static::SetIVal(setting.name, setting.integer);
        }
    }
}

void RestoreDataExchange() {
    for (const SavedStatic& saved : g_savedStatics) {
        if (saved.setting->text != nullptr)
            Interface_Static::SetCVal(saved.setting->name, saved.text.c_str());
        else
            Interface_Static::SetIVal(saved.setting->name, saved.integer);
    }
    g_savedStatics.clear();
}

}  // namespace tam
