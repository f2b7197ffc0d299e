#include <tamtools/CTamPropColor.h>

std::unique_ptr<CTamProperty> CTamPropColor::Clone() const {
    return std::make_unique<CTamPropColor>(*this);
}
