// The placement of a body: a rotation (or reflection), a uniform scale and a translation.
#pragma once

#include <orik/OrikTypes.h>

// Body transform. Points are row vectors: p' = scaling() * p * affine() + translation().
// affine() holds the pure rotation/reflection part (rows of three doubles), without the scale.
class KVXtransf {
public:
    // The identity transform.
    KVXtransf() = default;
    KVXtransf(const KVXmatrix& affine, double scaling, const SPAvector& translation)
        : affine_(affine), scaling_(scaling), translation_(translation) {}

    const KVXmatrix& affine() const { return affine_; }
    double scaling() const { return scaling_; }
    const SPAvector& translation() const { return translation_; }
    // True when the transform moves no point (within 1e-12).
    bool identity() const;
    // The image of a point under this transform.
    SPAposition transform(const SPAposition& p) const;

private:
    KVXmatrix affine_;
    double scaling_ = 1.0;
    SPAvector translation_;
};
