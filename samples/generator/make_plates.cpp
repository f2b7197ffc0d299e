// Writes a STEP (AP214) assembly of one plate placed N times, in sub-assemblies of ten: the
// file that shows how an assembly import grows with the instances of one part.
//
//   make_plates N OUTPUT.step [LEVELS]
//
// LEVELS (default 1) is the number of sub-assembly levels between the top assembly and the
// plates: each lowest sub-assembly places ten plates (the last one the rest), each higher one
// ten sub-assemblies. Every sub-assembly is a product of its own, so the plate is placed by N
// NEXT_ASSEMBLY_USAGE_OCCURRENCEs. The plate (50 x 40 x 5 mm, one B-rep box, colored blue)
// number j of its sub-assembly sits at x = 60 j, turned by 90 degrees about z when j is odd;
// sub-assembly number k of its parent sits at y = 50 k (lowest level), z = 20 k (above).
// Plate names: "Plate_<n>" (n from 1, in file order); sub-assemblies: "Group_<level>_<n>".
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class StepText {
public:
    int Add(const std::string& record) {
        m_data << '#' << ++m_last << " = " << record << ";\n";
        return m_last;
    }
    std::string Ref(int id) const { return "#" + std::to_string(id); }
    std::string Data() const { return m_data.str(); }

private:
    std::ostringstream m_data;
    int m_last = 0;
};

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string Triple(double x, double y, double z) {
    return "(" + Number(x) + "," + Number(y) + "," + Number(z) + ")";
}

struct Product {
    int definition = 0;  // PRODUCT_DEFINITION
    int representation = 0;
    int origin = 0;  // the identity placement among the representation's items
};

class PlateAssemblyWriter {
public:
    explicit PlateAssemblyWriter(StepText& step) : m_step(step) {
        const int appContext = m_step.Add("APPLICATION_CONTEXT('automotive design')");
        m_step.Add(
            "APPLICATION_PROTOCOL_DEFINITION('international standard','automotive_design',"
            "2000," +
            m_step.Ref(appContext) + ")");
        m_productContext =
            m_step.Add("PRODUCT_CONTEXT(''," + m_step.Ref(appContext) + ",'mechanical')");
        m_definitionContext = m_step.Add("PRODUCT_DEFINITION_CONTEXT('part definition'," +
                                         m_step.Ref(appContext) + ",'design')");
        const int length = m_step.Add("(LENGTH_UNIT() NAMED_UNIT(*) SI_UNIT(.MILLI.,.METRE.))");
        const int angle = m_step.Add("(NAMED_UNIT(*) PLANE_ANGLE_UNIT() SI_UNIT($,.RADIAN.))");
        const int solid = m_step.Add("(NAMED_UNIT(*) SI_UNIT($,.STERADIAN.) SOLID_ANGLE_UNIT())");
        const int uncertainty =
            m_step.Add("UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-07)," +
                       m_step.Ref(length) + ",'distance_accuracy_value','confusion accuracy')");
        m_context = m_step.Add(
            "(GEOMETRIC_REPRESENTATION_CONTEXT(3) GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((" +
            m_step.Ref(uncertainty) + ")) GLOBAL_UNIT_ASSIGNED_CONTEXT((" + m_step.Ref(length) +
            "," + m_step.Ref(angle) + "," + m_step.Ref(solid) +
            ")) REPRESENTATION_CONTEXT('Context3D','3D Context with UNIT and UNCERTAINTY'))");
        m_zAxis = m_step.Add("DIRECTION(''," + Triple(0, 0, 1) + ")");
        m_xAxis = m_step.Add("DIRECTION(''," + Triple(1, 0, 0) + ")");
        m_yAxis = m_step.Add("DIRECTION(''," + Triple(0, 1, 0) + ")");
    }

    void Write(int plates, int levels) {
        m_plate = MakePlate();
        Product top = MakeProduct("Plates", "assembly", {Axis(0, 0, 0, false)});
        AddGroups(top, plates, levels);
    }

private:
    // Places `plates` plates under `parent` through `levels` levels of groups of ten.
    void AddGroups(const Product& parent, int plates, int levels) {
        if (levels == 0) {
            for (int j = 0; j < plates; ++j) {
                const bool turned = j % 2 == 1;
                Place(parent, m_plate, "Plate_" + std::to_string(++m_plateCount), 60.0 * j, 0, 0,
                      turned);
            }
            return;
        }
        int perGroup = 10;
        for (int level = 1; level < levels; ++level)
            perGroup *= 10;
        const int groups = (plates + perGroup - 1) / perGroup;
        for (int k = 0; k < groups; ++k) {
            const int inGroup = std::min(perGroup, plates - k * perGroup);
            const std::string name =
                "Group_" + std::to_string(levels) + "_" + std::to_string(++m_groupCount);
            Product group = MakeProduct(name, "assembly", {Axis(0, 0, 0, false)});
            const bool lowest = levels == 1;
            Place(parent, group, name, 0, lowest ? 50.0 * k : 0, lowest ? 0 : 20.0 * k, false);
            AddGroups(group, inGroup, levels - 1);
        }
    }

    int Axis(double x, double y, double z, bool turned) {
        const int point = m_step.Add("CARTESIAN_POINT(''," + Triple(x, y, z) + ")");
        return m_step.Add("AXIS2_PLACEMENT_3D(''," + m_step.Ref(point) + "," + m_step.Ref(m_zAxis) +
                          "," + m_step.Ref(turned ? m_yAxis : m_xAxis) + ")");
    }

    Product MakeProduct(const std::string& name, const char* category, std::vector<int> items,
                        const char* representation = "SHAPE_REPRESENTATION") {
        const int product = m_step.Add("PRODUCT('" + name + "','" + name + "',''," + "(" +
                                       m_step.Ref(m_productContext) + "))");
        m_step.Add(std::string("PRODUCT_RELATED_PRODUCT_CATEGORY('") + category + "',$,(" +
                   m_step.Ref(product) + "))");
        const int formation =
            m_step.Add("PRODUCT_DEFINITION_FORMATION('',''," + m_step.Ref(product) + ")");
        Product made;
        made.definition = m_step.Add("PRODUCT_DEFINITION('design',''," + m_step.Ref(formation) +
                                     "," + m_step.Ref(m_definitionContext) + ")");
        const int shape = m_step.Add("PRODUCT_DEFINITION_SHAPE(''," + std::string("''") + "," +
                                     m_step.Ref(made.definition) + ")");
        std::string list;
        for (int item : items)
            list += (list.empty() ? "" : ",") + m_step.Ref(item);
        made.representation = m_step.Add(std::string(representation) + "('',(" + list + ")," +
                                         m_step.Ref(m_context) + ")");
        made.origin = items.back();
        m_step.Add("SHAPE_DEFINITION_REPRESENTATION(" + m_step.Ref(shape) + "," +
                   m_step.Ref(made.representation) + ")");
        return made;
    }

    void Place(const Product& parent, const Product& child, const std::string& name, double x,
               double y, double z, bool turned) {
        const int placement = Axis(x, y, z, turned);
        const int transformation =
            m_step.Add("ITEM_DEFINED_TRANSFORMATION('',''," + m_step.Ref(parent.origin) + "," +
                       m_step.Ref(placement) + ")");
        const int relationship =
            m_step.Add("(REPRESENTATION_RELATIONSHIP(''," + std::string("''") + "," +
                       m_step.Ref(child.representation) + "," + m_step.Ref(parent.representation) +
                       ") REPRESENTATION_RELATIONSHIP_WITH_TRANSFORMATION(" +
                       m_step.Ref(transformation) + ") SHAPE_REPRESENTATION_RELATIONSHIP())");
        const int usage = m_step.Add(
            "NEXT_ASSEMBLY_USAGE_OCCURRENCE('" + std::to_string(++m_usageCount) + "','" + name +
            "',''," + m_step.Ref(parent.definition) + "," + m_step.Ref(child.definition) + ",$)");
        const int shape =
            m_step.Add("PRODUCT_DEFINITION_SHAPE('Placement','Placement of an item'," +
                       m_step.Ref(usage) + ")");
        m_step.Add("CONTEXT_DEPENDENT_SHAPE_REPRESENTATION(" + m_step.Ref(relationship) + "," +
                   m_step.Ref(shape) + ")");
    }

    // A 50 x 40 x 5 box as a closed shell of six planar faces with outward normals.
    Product MakePlate() {
        const double* size = m_size;
        int vertex[8];
        for (int i = 0; i < 8; ++i) {
            const int point = m_step.Add(
                "CARTESIAN_POINT(''," +
                Triple(i & 1 ? size[0] : 0, i & 2 ? size[1] : 0, i & 4 ? size[2] : 0) + ")");
            vertex[i] = m_step.Add("VERTEX_POINT(''," + m_step.Ref(point) + ")");
        }
        // Each face's corners counter-clockwise seen from outside, and its outward normal.
        const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
        const double normals[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                      {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
        std::string faceList;
        for (int f = 0; f < 6; ++f) {
            std::string loop;
            for (int c = 0; c < 4; ++c) {
                const int from = faces[f][c];
                const int to = faces[f][(c + 1) % 4];
                loop += (loop.empty() ? "" : ",") + m_step.Ref(OrientedEdge(vertex, from, to));
            }
            const int edgeLoop = m_step.Add("EDGE_LOOP('',(" + loop + "))");
            const int bound = m_step.Add("FACE_OUTER_BOUND(''," + m_step.Ref(edgeLoop) + ",.T.)");
            const int origin = m_step.Add("CARTESIAN_POINT(''," + Corner(faces[f][0], size) + ")");
            const int normal = m_step.Add(
                "DIRECTION(''," + Triple(normals[f][0], normals[f][1], normals[f][2]) + ")");
            const int reference =
                m_step.Add("DIRECTION(''," + Direction(faces[f][0], faces[f][1], size) + ")");
            const int axis = m_step.Add("AXIS2_PLACEMENT_3D(''," + m_step.Ref(origin) + "," +
                                        m_step.Ref(normal) + "," + m_step.Ref(reference) + ")");
            const int plane = m_step.Add("PLANE(''," + m_step.Ref(axis) + ")");
            const int face = m_step.Add("ADVANCED_FACE('',(" + m_step.Ref(bound) + ")," +
                                        m_step.Ref(plane) + ",.T.)");
            faceList += (faceList.empty() ? "" : ",") + m_step.Ref(face);
        }
        const int shell = m_step.Add("CLOSED_SHELL('',(" + faceList + "))");
        const int brep = m_step.Add("MANIFOLD_SOLID_BREP('Plate'," + m_step.Ref(shell) + ")");
        const int origin = Axis(0, 0, 0, false);
        Product plate =
            MakeProduct("Plate", "part", {brep, origin}, "ADVANCED_BREP_SHAPE_REPRESENTATION");
        AddBlueStyle(brep);
        return plate;
    }

    static std::string Corner(int i, const double* size) {
        return Triple(i & 1 ? size[0] : 0, i & 2 ? size[1] : 0, i & 4 ? size[2] : 0);
    }

    static std::string Direction(int from, int to, const double*) {
        const int change = from ^ to;
        const double sign = (to & change) ? 1.0 : -1.0;
        return Triple(change == 1 ? sign : 0, change == 2 ? sign : 0, change == 4 ? sign : 0);
    }

    // The edge between two corners, made once (from the lower to the higher index), oriented.
    int OrientedEdge(const int* vertex, int from, int to) {
        const int low = std::min(from, to);
        const int high = std::max(from, to);
        int& edge = m_edges[low][high];
        if (edge == 0) {
            const int point = m_step.Add("CARTESIAN_POINT(''," + Corner(low, m_size) + ")");
            const int direction = m_step.Add("DIRECTION(''," + Direction(low, high, m_size) + ")");
            const int vector = m_step.Add("VECTOR(''," + m_step.Ref(direction) + ",1.)");
            const int line =
                m_step.Add("LINE(''," + m_step.Ref(point) + "," + m_step.Ref(vector) + ")");
            edge = m_step.Add("EDGE_CURVE(''," + m_step.Ref(vertex[low]) + "," +
                              m_step.Ref(vertex[high]) + "," + m_step.Ref(line) + ",.T.)");
        }
        return m_step.Add("ORIENTED_EDGE('',*,*," + m_step.Ref(edge) +
                          (from == low ? ",.T.)" : ",.F.)"));
    }

    void AddBlueStyle(int item) {
        const int color = m_step.Add("COLOUR_RGB('',0.,0.,1.)");
        const int fill = m_step.Add("FILL_AREA_STYLE_COLOUR(''," + m_step.Ref(color) + ")");
        const int area = m_step.Add("FILL_AREA_STYLE('',(" + m_step.Ref(fill) + "))");
        const int surface = m_step.Add("SURFACE_STYLE_FILL_AREA(" + m_step.Ref(area) + ")");
        const int side = m_step.Add("SURFACE_SIDE_STYLE('',(" + m_step.Ref(surface) + "))");
        const int usage = m_step.Add("SURFACE_STYLE_USAGE(.BOTH.," + m_step.Ref(side) + ")");
        const int assignment =
            m_step.Add("PRESENTATION_STYLE_ASSIGNMENT((" + m_step.Ref(usage) + "))");
        const int styled = m_step.Add("STYLED_ITEM('color',(" + m_step.Ref(assignment) + ")," +
                                      m_step.Ref(item) + ")");
        m_step.Add("MECHANICAL_DESIGN_GEOMETRIC_PRESENTATION_REPRESENTATION('',(" +
                   m_step.Ref(styled) + ")," + m_step.Ref(m_context) + ")");
    }

    StepText& m_step;
    int m_productContext = 0;
    int m_definitionContext = 0;
    int m_context = 0;
    int m_zAxis = 0;
    int m_xAxis = 0;
    int m_yAxis = 0;
    const double m_size[3] = {50.0, 40.0, 5.0};
    int m_edges[8][8] = {};
    Product m_plate;
    int m_plateCount = 0;
    int m_groupCount = 0;
    int m_usageCount = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: make_plates N OUTPUT.step [LEVELS]\n";
        return 2;
    }
    const int plates = std::atoi(argv[1]);
    const int levels = argc == 4 ? std::atoi(argv[3]) : 1;
    if (plates < 1 || levels < 0 || levels > 6) {
        std::cerr << "make_plates: N must be at least 1 and LEVELS 0 to 6\n";
        return 2;
    }
    StepText step;
    PlateAssemblyWriter(step).Write(plates, levels);
    std::ofstream out(argv[2], std::ios::binary);
    out << "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('plates'),'2;1');\n"
        << "FILE_NAME('" << argv[2] << "','2026-01-01T00:00:00',(''),(''),'make_plates','','');\n"
        << "FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));\nENDSEC;\nDATA;\n"
        << step.Data() << "ENDSEC;\nEND-ISO-10303-21;\n";
    out.close();
    if (!out) {
        std::cerr << "make_plates: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
