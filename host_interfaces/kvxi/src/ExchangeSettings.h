// Open CASCADE's data-exchange settings the translator relies on: millimetres, AP214 STEP, solids
// as B-rep entities in IGES. They are process-wide, so Restore puts back the values Configure
// found.
#pragma once

namespace tam {

void ConfigureDataExchange();
void RestoreDataExchange();

}  // namespace tam
