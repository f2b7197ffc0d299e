// Size of drawn points.
#pragma once

#include <tamsg/sglStatelet.h>

// Point size in pixels.
class sglPointSize : public sglStatelet {
public:
    explicit sglPointSize(float size = 1.0f) : m_size(size) {}

    float getSize() const { return m_size; }
    void setSize(float size) { m_size = size; }

    sglStatelet* clone() const override { return new sglPointSize(m_size); }

protected:
    const char* className() const override { return "sglPointSize"; }

private:
    float m_size;
};
