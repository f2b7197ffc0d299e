// Reading back an EBOM written by the translator: its instance tree with world placements, its
// part documents, and the kernel part files they name.
#pragma once

#include "kvxi_test_support.h"

#include <pugixml.hpp>

#include <gp_Trsf.hxx>

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kvxitest {

// Converts `source` into an EBOM at `xmlPath` with the library's assembly options.
inline KVXIResult ConvertToEbom(const std::string& source, const char* type,
                                const std::wstring& xmlPath, bool hidden = true) {
    KVXIDocument from(source);
    from.SetType(type);
    KVXIDocument target(xmlPath);
    target.SetType("EBOM");
    target.SetUnit(4);
    KVXIOptions options = EntityOptions(true, hidden);
    options.Add("NumberOfProcessorsToUse", 1);
    options.Add(KVXIOptionName::Representation, "Assembly");
    KVXIConverter converter;
    converter.SetOptions(options);
    return converter.Convert(from, target);
}

// A leaf instance: its name, color text, RefLink id and world placement.
struct EbomLeaf {
    std::string name;
    std::string color;
    std::string refLink;
    gp_Trsf world;
};

struct Ebom {
    pugi::xml_document doc;
    bool loaded = false;
    std::vector<EbomLeaf> leaves;
    int subAssemblies = 0;
    int maxDepth = 0;

    pugi::xml_node Assembly() const { return doc.document_element().first_child(); }
    pugi::xml_node Structure() const { return Assembly().child("Exposition").child("Structure"); }
    // Shape Id of the Reference with the identifier, "" when there is none.
    std::string ShapeOf(const std::string& id) const {
        const auto ref = Structure().find_child_by_attribute("Reference", "Identifier", id.c_str());
        return ref.child("Rep").child("Shape").attribute("Id").value();
    }
};

// The Position text of an instance as a transformation (c1..c9 axis images, c10..c12 origin).
inline gp_Trsf ReadPosition(const pugi::xml_node& instance) {
    double c[12] = {0};
    int k = 0;
    for (const pugi::xml_node number : instance.child("Position").children()) {
        if (k < 12)
            c[k++] = std::strtod(number.text().get(), nullptr);
    }
    gp_Trsf trsf;
    trsf.SetValues(c[0], c[3], c[6], c[9], c[1], c[4], c[7], c[10], c[2], c[5], c[8], c[11]);
    return trsf;
}

inline void CollectLeaves(const pugi::xml_node& instance, const gp_Trsf& parent, int depth,
                          Ebom& ebom) {
    const gp_Trsf world = parent * ReadPosition(instance);
    ebom.maxDepth = std::max(ebom.maxDepth, depth);
    if (!instance.child("Child")) {
        ebom.leaves.push_back({instance.attribute("Name").value(),
                               instance.attribute("Color").value(),
                               instance.child("RefLink").attribute("Id").value(), world});
        return;
    }
    ++ebom.subAssemblies;
    for (const pugi::xml_node child : instance.children("Child"))
        CollectLeaves(child, world, depth + 1, ebom);
}

inline void LoadEbom(const std::string& path, Ebom& ebom) {
    ebom.loaded = ebom.doc.load_file(path.c_str());
    for (const pugi::xml_node instance : ebom.Structure().child("Root").children())
        CollectLeaves(instance, gp_Trsf(), 1, ebom);
}

// The entities of a part file, loaded once per path.
class PartFiles {
public:
    const Entities& Part(const std::string& path) {
        auto& slot = m_parts[path];
        if (!slot) {
            slot = std::make_unique<Entities>();
            Convert(path, "Orik", EntityOptions(), *slot);
        }
        return *slot;
    }

private:
    std::map<std::string, std::unique_ptr<Entities>> m_parts;
};

// Number of EBOM leaves whose part body, placed by the leaf, matches a flat body of the same
// name within 1e-6; each flat body is matched once.
inline int MatchFlatBodies(const Ebom& ebom, const Entities& flat) {
    PartFiles parts;
    std::vector<bool> used(static_cast<std::size_t>(flat.Count()), false);
    int matched = 0;
    for (const EbomLeaf& leaf : ebom.leaves) {
        const Entities& part = parts.Part(ebom.ShapeOf(leaf.refLink));
        for (int p = 0; p < part.Count(); ++p) {
            if (!is_BODY(part[p]))
                continue;
            const gp_Trsf world = leaf.world * orik_entity_placement(part[p]);
            for (int f = 0; f < flat.Count(); ++f) {
                if (used[f] || !is_BODY(flat[f]) ||
                    TextAttribute(flat[f], "ATTRIB_XORIK_NAME") != leaf.name ||
                    MatrixDistance(world, orik_entity_placement(flat[f])) > 1e-6)
                    continue;
                used[f] = true;
                ++matched;
                break;
            }
        }
    }
    return matched;
}

// Number of distinct part shapes among the bodies of a flat conversion.
inline int CountDistinctBodyShapes(const Entities& flat) {
    std::set<const void*> shapes;
    for (int i = 0; i < flat.Count(); ++i) {
        if (is_BODY(flat[i]))
            shapes.insert(orik_entity_shape(flat[i]).TShape().get());
    }
    return static_cast<int>(shapes.size());
}

// Leaves placing a part with a body, and part documents (Type "okt") whose file holds one.
inline std::pair<int, int> CountPlacedAndDistinctBodies(const Ebom& ebom) {
    PartFiles files;
    int placed = 0;
    for (const EbomLeaf& leaf : ebom.leaves)
        placed += CountBodies(files.Part(ebom.ShapeOf(leaf.refLink))) > 0 ? 1 : 0;
    int parts = 0;
    for (const pugi::xml_node document : ebom.doc.document_element().children("Document")) {
        if (std::string(document.attribute("Type").value()) == "okt")
            parts += CountBodies(files.Part(document.attribute("FilePath").value())) > 0 ? 1 : 0;
    }
    return {placed, parts};
}

}  // namespace kvxitest
