// Helpers of the tamcad assembly tests: running the program, reading its summary, and the
// placed parts of a scene with their world boxes.
#pragma once

#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglTransform.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "run_shell.h"

namespace tamtest {

// Runs tamcad with the arguments (already quoted for the shell), stderr merged into stdout.
inline RunResult runTamcad(const std::string& arguments) {
    return runShell("'" TAMCAD_EXE "' " + arguments);
}

// The first number after the summary label ("  instances   18"), or -1.
inline long summaryFigure(const std::string& out, const std::string& label) {
    const size_t at = out.find("  " + label + " ");
    if (at == std::string::npos)
        return -1;
    std::istringstream in(out.substr(at + label.size() + 2));
    long value = -1;
    in >> value;
    return value;
}

// A placed part: the transform placing it, its first geode's name, its world box and triangles.
struct PlacedPart {
    const sglTransform<float>* placement = nullptr;
    std::wstring name;
    sglBoxBound box;
    size_t triangles = 0;
};

inline void addGeodes(const sglNode& node, const sglMat4<float>& toWorld, PlacedPart& part) {
    if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
        geode->expandBound(part.box, toWorld);
        if (part.name.empty())
            part.name = geode->getName();
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
            if (const auto* strips =
                    dynamic_cast<const sglMonoIndexedTriangleStripSet*>(geode->getGeometry(i)))
                part.triangles += strips->getNumTriangles();
        }
    }
    const auto* group = dynamic_cast<const sglGroup*>(&node);
    for (unsigned int i = 0; group != nullptr && i < group->getNumChildren(); ++i) {
        const sglNode* child = group->getChild(i);
        const auto* transform = dynamic_cast<const sglTransform<float>*>(child);
        addGeodes(*child, transform ? transform->getMatrix() * toWorld : toWorld, part);
    }
}

// Placed parts of an assembly tree: below the root, the first node on a path that is not a
// transform is a part, placed by the transform above it.
inline void collectParts(const sglNode& node, const sglMat4<float>& toWorld,
                         const sglTransform<float>* placement, std::vector<PlacedPart>& parts) {
    const auto* transform = dynamic_cast<const sglTransform<float>*>(&node);
    const auto* group = dynamic_cast<const sglGroup*>(&node);
    if (transform == nullptr && placement != nullptr) {
        PlacedPart part;
        part.placement = placement;
        addGeodes(node, toWorld, part);
        parts.push_back(part);
        return;
    }
    for (unsigned int i = 0; group != nullptr && i < group->getNumChildren(); ++i) {
        const sglNode* child = group->getChild(i);
        const auto* childTransform = dynamic_cast<const sglTransform<float>*>(child);
        collectParts(*child, childTransform ? childTransform->getMatrix() * toWorld : toWorld,
                     childTransform ? childTransform : placement, parts);
    }
}

inline std::vector<PlacedPart> placedParts(const sglNode& root) {
    std::vector<PlacedPart> parts;
    collectParts(root, sglMat4<float>(), nullptr, parts);
    return parts;
}

}  // namespace tamtest
