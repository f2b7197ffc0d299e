// Switches lighting on or off for a drawable.
#pragma once

#include <tamsg/sglStatelet.h>

// Lighting state: true shades the drawable with its normals, false draws flat colors.
class sglLighting : public sglStatelet {
public:
    explicit sglLighting(bool enabled = true) : m_enabled(enabled) {}

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    sglStatelet* clone() const override { return new sglLighting(m_enabled); }

protected:
    const char* className() const override { return "sglLighting"; }

private:
    bool m_enabled;
};
