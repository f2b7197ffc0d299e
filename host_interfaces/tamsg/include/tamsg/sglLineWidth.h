// Width of drawn lines.
#pragma once

#include <tamsg/sglStatelet.h>

// Line width in pixels.
class sglLineWidth : public sglStatelet {
public:
    explicit sglLineWidth(float width = 1.0f) : m_width(width) {}

    float getWidth() const { return m_width; }
    void setWidth(float width) { m_width = width; }

    sglStatelet* clone() const override { return new sglLineWidth(m_width); }

protected:
    const char* className() const override { return "sglLineWidth"; }

private:
    float m_width;
};
