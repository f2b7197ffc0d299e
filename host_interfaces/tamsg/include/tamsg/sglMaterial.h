// Surface material: diffuse and specular colors and shininess, per side.
#pragma once

#include <tamsg/sglConstants.h>
#include <tamsg/sglStatelet.h>
#include <tamsg/sglVec4.h>

// Material values kept separately for the front and the back side. Setters take SGL_FRONT,
// SGL_BACK or SGL_FRONT_AND_BACK (any other side is ignored); getters take SGL_FRONT or SGL_BACK
// (SGL_FRONT_AND_BACK reads the front). Defaults: diffuse (0.8, 0.8, 0.8, 1), specular (0, 0, 0,
// 1), shininess 0.
class sglMaterial : public sglStatelet {
public:
    sglMaterial();

    void setDiffuse(unsigned int side, const sglVec4<float>& color);
    void setDiffuse(unsigned int side, float r, float g, float b, float a = 1.0f) {
        setDiffuse(side, sglVec4<float>(r, g, b, a));
    }
    const sglVec4<float>& getDiffuse(unsigned int side) const;

    void setSpecular(unsigned int side, const sglVec4<float>& color);
    void setSpecular(unsigned int side, float r, float g, float b, float a = 1.0f) {
        setSpecular(side, sglVec4<float>(r, g, b, a));
    }
    const sglVec4<float>& getSpecular(unsigned int side) const;

    // Specular exponent, 0..128.
    void setShininess(unsigned int side, float shininess);
    float getShininess(unsigned int side) const;

    sglStatelet* clone() const override;

protected:
    const char* className() const override { return "sglMaterial"; }

private:
    struct Side {
        sglVec4<float> diffuse{0.8f, 0.8f, 0.8f, 1.0f};
        sglVec4<float> specular{0.0f, 0.0f, 0.0f, 1.0f};
        float shininess = 0.0f;
    };
    const Side& sideFor(unsigned int side) const;
    template <class Setter>
    void forSides(unsigned int side, Setter set);

    Side m_front;
    Side m_back;
};
