// The translator's own view of a CAD document between reading and writing: placed parts with
// their attributes, and free geometry. Private to the translator.
#pragma once

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tam {

struct RgbColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;

    bool operator==(const RgbColor& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// A name/value pair of a part's user-defined properties.
struct NamedValue {
    std::string name;
    std::string value;
};

// What every placed thing may carry; text is UTF-8.
struct Attributes {
    std::string name;
    std::string layer;
    bool visible = true;
    std::optional<RgbColor> color;
};

// A face of a part's shape (in the part's own coordinates) with its own color.
struct FaceColor {
    TopoDS_Shape face;
    RgbColor color;
};

// One placed part: the part's shape without location, shared by all instances of the part,
// and the world placement of this instance.
struct PlacedBody {
    TopoDS_Shape shape;
    gp_Trsf placement;
    Attributes attributes;
    std::vector<FaceColor> faceColors;
    std::vector<NamedValue> properties;
};

enum class FreeKind { Point, Curve, Surface };

// A free vertex, edge, wire or face, located in world coordinates.
struct FreeShape {
    FreeKind kind = FreeKind::Curve;
    TopoDS_Shape shape;
    Attributes attributes;
};

struct CadModel {
    std::vector<PlacedBody> bodies;
    std::vector<FreeShape> freeShapes;
    // True when the reader repaired or skipped something in the source.
    bool readerWarnings = false;
    // True when some entities of the source could not be translated.
    bool entitiesSkipped = false;

    bool IsEmpty() const { return bodies.empty() && freeShapes.empty(); }
};

}  // namespace tam
