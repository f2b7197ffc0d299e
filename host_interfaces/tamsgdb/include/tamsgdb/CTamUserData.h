// Host record attached to geodes: identity, origin, layer, mass properties, kind, visibility.
#pragma once

#include <tamsg/sglUserData.h>
#include <tamsg/sglVec3.h>

#include <string>

// The record a geode carries. Plain value type: copy it to duplicate a record.
// Defaults: empty texts, layer -1, volume -1, area -1 (not computed), zero center of gravity and
// axes, kind 0, visible, faceting tolerance kToleranceUnset.
class CTamUserData : public sglUserData {
public:
    // Faceting tolerance of a record that never received one.
    static constexpr float kToleranceUnset = -1.0f;

    CTamUserData() = default;
    CTamUserData(const CTamUserData&) = default;
    CTamUserData& operator=(const CTamUserData&) = default;

    // Identifier text of the node.
    void SetGuid(const std::wstring& guid) { m_guid = guid; }
    const std::wstring& GetGuid() const { return m_guid; }
    // Layer number, -1 for none.
    void SetLayer(int layer) { m_layer = layer; }
    int GetLayer() const { return m_layer; }
    // Volume of the body, -1 when not computed.
    void SetVolume(float volume) { m_volume = volume; }
    float GetVolume() const { return m_volume; }
    // Area of the faces, -1 when not computed.
    void SetArea(float area) { m_area = area; }
    float GetArea() const { return m_area; }
    // File name of the document the node came from.
    void SetIssuedFrom(const std::wstring& fileName) { m_issuedFrom = fileName; }
    const std::wstring& GetIssuedFrom() const { return m_issuedFrom; }
    // Center of gravity.
    void SetCofG(const sglVec3<float>& cofg) { m_cofg = cofg; }
    const sglVec3<float>& GetCofG() const { return m_cofg; }
    // The three principal axes of inertia (axes must point to three vectors).
    void SetInertiaAxes(const sglVec3<float> axes[3]);
    // Axis index 0..2; the zero vector for other indices.
    sglVec3<float> GetInertiaAxis(unsigned int index) const;
    // Kind of geometry: 0 nothing, 1 closed solid, 2 face or open body, 4 point, 5 curve.
    void SetEntityKind(unsigned int kind) { m_entityKind = kind; }
    unsigned int GetEntityKind() const { return m_entityKind; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool GetVisible() const { return m_visible; }
    // Surface tolerance the node was faceted with; kToleranceUnset when unknown.
    void SetFacetingTolerance(float tolerance) { m_facetingTolerance = tolerance; }
    float GetFacetingTolerance() const { return m_facetingTolerance; }
    // Name of the assembly (or layer path) the node belongs to.
    void SetAssemblyName(const std::wstring& name) { m_assemblyName = name; }
    const std::wstring& GetAssemblyName() const { return m_assemblyName; }
    // Free label text.
    void SetLabel(const std::wstring& label) { m_label = label; }
    const std::wstring& GetLabel() const { return m_label; }

    // A copy of this record, owned by the caller.
    sglUserData* clone() const override { return new CTamUserData(*this); }

private:
    std::wstring m_guid;
    int m_layer = -1;
    float m_volume = -1.0f;
    float m_area = -1.0f;
    std::wstring m_issuedFrom;
    sglVec3<float> m_cofg;
    sglVec3<float> m_inertiaAxes[3];
    unsigned int m_entityKind = 0;
    bool m_visible = true;
    float m_facetingTolerance = kToleranceUnset;
    std::wstring m_assemblyName;
    std::wstring m_label;
};
