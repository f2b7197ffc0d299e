// Base of the drawing-state pieces held by drawables.
#pragma once

#include <tamsg/sglObject.h>

// A piece of drawing state (material, lighting, line width, point size), reference-counted and
// possibly shared by several drawables. Kinds are told apart with dynamic_cast.
class sglStatelet : public sglObject {
public:
    // A new copy of this statelet with count 0, owned by the caller.
    virtual sglStatelet* clone() const = 0;

protected:
    const char* className() const override { return "sglStatelet"; }
};
