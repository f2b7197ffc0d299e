#include <orik/KVXtransf.h>

#include <cmath>

namespace {
constexpr double kIdentityTolerance = 1e-12;
}

bool KVXtransf::identity() const {
    if (std::fabs(scaling_ - 1.0) > kIdentityTolerance)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(translation_.component(i)) > kIdentityTolerance)
            return false;
        for (int j = 0; j < 3; ++j) {
            const double expected = i == j ? 1.0 : 0.0;
            if (std::fabs(affine_.element(i, j) - expected) > kIdentityTolerance)
                return false;
        }
    }
    return true;
}

SPAposition KVXtransf::transform(const SPAposition& p) const {
    SPAposition result;
    for (int column = 0; column < 3; ++column) {
        double sum = 0.0;
        for (int row = 0; row < 3; ++row)
            sum += p.coordinate(row) * affine_.element(row, column);
        result.set_coordinate(column, scaling_ * sum + translation_.component(column));
    }
    return result;
}
