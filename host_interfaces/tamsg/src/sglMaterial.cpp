// Per-side material values.
#include <tamsg/sglMaterial.h>

sglMaterial::sglMaterial() = default;

template <class Setter>
void sglMaterial::forSides(unsigned int side, Setter set) {
    if (side == SGL_FRONT || side == SGL_FRONT_AND_BACK)
        set(m_front);
    if (side == SGL_BACK || side == SGL_FRONT_AND_BACK)
        set(m_back);
}

const sglMaterial::Side& sglMaterial::sideFor(unsigned int side) const {
    return side == SGL_BACK ? m_back : m_front;
}

void sglMaterial::setDiffuse(unsigned int side, const sglVec4<float>& color) {
    forSides(side, [&color](Side& s) { s.diffuse = color; });
}

const sglVec4<float>& sglMaterial::getDiffuse(unsigned int side) const {
    return sideFor(side).diffuse;
}

void sglMaterial::setSpecular(unsigned int side, const sglVec4<float>& color) {
    forSides(side, [&color](Side& s) { s.specular = color; });
}

const sglVec4<float>& sglMaterial::getSpecular(unsigned int side) const {
    return sideFor(side).specular;
}

void sglMaterial::setShininess(unsigned int side, float shininess) {
    forSides(side, [shininess](Side& s) { s.shininess = shininess; });
}

float sglMaterial::getShininess(unsigned int side) const {
    return sideFor(side).shininess;
}

sglStatelet* sglMaterial::clone() const {
    auto* material = new sglMaterial;
    material->m_front = m_front;
    material->m_back = m_back;
    return material;
}
