// Open CASCADE's data-exchange settings the translator relies on: millimetres, AP214 STEP, solids
// as B-rep entities in IGES. They are process-wide, so each module puts back the values it found
// when the translator stops.
#pragma once

#include <string>
#include <vector>

namespace tam {

// One static of Open CASCADE's data exchange and the value the translator gives it.
struct StaticSetting {
    const char* name;
    const char* text;  // null for an integer setting
    int integer;
};

// Sets statics and remembers the values they had, to put them back.
class SavedStatics {
public:
    void Apply(const std::vector<StaticSetting>& settings);
    void Restore();

private:
    struct Saved {
        StaticSetting setting;
        std::string text;
        int integer;
    };
    std::vector<Saved> m_saved;
};

// The STEP module's settings (STEP and the units of every format).
void ConfigureDataExchange();
void RestoreDataExchange();

}  // namespace tam
