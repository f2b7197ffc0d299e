#include "ExchangeSettings.h"

#include <Interface_Static.hxx>
#include <STEPControl_Controller.hxx>

namespace tam {
namespace {

SavedStatics g_saved;

}  // namespace

void SavedStatics::Apply(const std::vector<StaticSetting>& settings) {
    m_saved.clear();
    for (const StaticSetting& setting : settings) {
        if (setting.text != nullptr) {
            m_saved.push_back({setting, Interface_Static::CVal(setting.name), 0});
            Interface_Static::SetCVal(setting.name, setting.text);
        } else {
            m_saved.push_back({setting, std::string(), Interface_Static::IVal(setting.name)});
            Interface_Static::SetIVal(setting.name, setting.integer);
        }
    }
}

void SavedStatics::Restore() {
    for (const Saved& saved : m_saved) {
        if (saved.setting.text != nullptr)
            Interface_Static::SetCVal(saved.setting.name, saved.text.c_str());
        else
            Interface_Static::SetIVal(saved.setting.name, saved.integer);
    }
    m_saved.clear();
}

void ConfigureDataExchange() {
    STEPControl_Controller::Init();
    g_saved.Apply({{"xstep.cascade.unit", "MM", 0},
                   {"write.step.schema", "AP214IS", 0},
                   {"write.step.unit", "MM", 0}});
}

void RestoreDataExchange() {
    g_saved.Restore();
}

}  // namespace tam
