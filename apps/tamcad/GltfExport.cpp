#include "GltfExport.h"

#include "SceneWalk.h"
#include "Srgb.h"

#include <platform/AtomicFile.h>
#include <platform/CodePage.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>

#include <tiny_gltf.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <vector>

namespace tam {
namespace {

constexpr double kMillimetresToMetres = 0.001;

bool endsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size())
        return false;
    std::string tail = text.substr(text.size() - suffix.size());
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == suffix;
}

// The geometry of one primitive before it goes into the buffer.
struct PrimitiveData {
    int mode = TINYGLTF_MODE_TRIANGLES;
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> colors;  // RGBA per vertex, or empty
    std::vector<unsigned int> indices;
    sglVec4<float> color;
};

// The geometry of a placed part: each visible drawable of its finest level with its placement
// inside the part. Clones of one meshed part share their drawables, hence their key.
using PartKey = std::vector<std::pair<const sglGeoSet*, std::array<float, 16>>>;

class PartCollector : public SceneVisitor {
public:
    void enterNode(const sglNode& node, const sglMat4<float>& toPart, unsigned int) override {
        const auto* geode = dynamic_cast<const sglGeode*>(&node);
        if (geode == nullptr || !isVisible(*geode))
            return;
        std::array<float, 16> matrix;
        std::copy(toPart.getPtr(), toPart.getPtr() + 16, matrix.begin());
        for (const sglGeoSet* drawable : finestDrawables(*geode))
            key.emplace_back(drawable, matrix);
    }
    PartKey key;
};

// Positions as points and normals as directions (renormalized) through a row-vector matrix.
void placeInPart(const std::array<float, 16>& m, PrimitiveData& data) {
    const auto apply = [&m](float* v, float w) {
        const float x = v[0], y = v[1], z = v[2];
        for (int c = 0; c < 3; ++c)
            v[c] = x * m[c] + y * m[4 + c] + z * m[8 + c] + w * m[12 + c];
    };
    for (size_t i = 0; i + 2 < data.positions.size(); i += 3)
        apply(&data.positions[i], 1.0f);
    for (size_t i = 0; i + 2 < data.normals.size(); i += 3) {
        float* n = &data.normals[i];
        apply(n, 0.0f);
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int c = 0; c < 3; ++c)
            n[c] = length > 0.0f ? n[c] / length : (c == 2 ? 1.0f : 0.0f);
    }
}

// Builds a tinygltf model node by node while the scene is walked.
class GltfBuilder : public SceneVisitor {
public:
    explicit GltfBuilder(const GltfOptions& options) : m_options(options) {
        m_model.asset.version = "2.0";
        m_model.asset.generator = "tamcad";
        m_model.buffers.emplace_back();
    }

    void enterNode(const sglNode& node, const sglMat4<float>& /*toWorld*/,
                   unsigned int depth) override {
        if (m_partLevels > 0) {  // inside a part: its geometry is already in the part's mesh
            ++m_partLevels;
            return;
        }
        tinygltf::Node out;
        out.name = utf8Name(node);
        setPlacement(node, depth, out);
        if (m_options.meshPerPart && depth > 0 &&
            dynamic_cast<const sglTransform<float>*>(&node) == nullptr) {
            addPart(node, out);
            m_partLevels = 1;
        } else if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
            addGeode(*geode, out);
        }
        const int index = static_cast<int>(m_model.nodes.size());
        if (!m_openNodes.empty())
            m_model.nodes[m_openNodes.back()].children.push_back(index);
        m_model.nodes.push_back(std::move(out));
        m_openNodes.push_back(index);
    }

    void leaveNode(const sglNode& /*node*/) override {
        if (m_partLevels > 1) {
            --m_partLevels;
            return;
        }
        m_partLevels = 0;
        m_openNodes.pop_back();
    }

    tinygltf::Model& finish(GltfCounts& counts) {
        tinygltf::Scene scene;
        if (!m_model.nodes.empty())
            scene.nodes.push_back(0);
        m_model.scenes.push_back(scene);
        m_model.defaultScene = 0;
        if (m_model.buffers[0].data.empty())
            m_model.buffers.clear();
        counts.nodes = m_model.nodes.size();
        counts.meshes = m_model.meshes.size();
        counts.accessors = m_model.accessors.size();
        counts.materials = m_model.materials.size();
        counts.primitives = 0;
        for (const tinygltf::Mesh& mesh : m_model.meshes)
            counts.primitives += mesh.primitives.size();
        return m_model;
    }

private:
    // The sgl matrix (row vectors, translation in row 3) stored row by row is the glTF matrix
    // (column vectors) stored column by column: the 16 values copy over unchanged. The top node
    // also scales millimetres to metres (columns 0 to 2 of the row-vector matrix).
    static void setPlacement(const sglNode& node, unsigned int depth, tinygltf::Node& out) {
        const auto* transform = dynamic_cast<const sglTransform<float>*>(&node);
        if (depth > 0 && (transform == nullptr || transform->isIdentity()))
            return;
        const sglMat4<float> matrix =
            transform != nullptr ? transform->getMatrix() : sglMat4<float>();
        out.matrix.assign(matrix.getPtr(), matrix.getPtr() + 16);
        if (depth > 0)
            return;
        for (size_t i = 0; i < 16; ++i) {
            if (i % 4 < 3)
                out.matrix[i] *= kMillimetresToMetres;
        }
    }

    void addGeode(const sglGeode& geode, tinygltf::Node& out) {
        out.extras = userDataExtras(geode);
        if (!isVisible(geode))
            return;
        tinygltf::Mesh mesh;
        mesh.name = out.name;
        for (const sglGeoSet* drawable : finestDrawables(geode)) {
            PrimitiveData data;
            if (collect(*drawable, data))
                mesh.primitives.push_back(addPrimitive(data));
        }
        if (mesh.primitives.empty())
            return;
        out.mesh = static_cast<int>(m_model.meshes.size());
        m_model.meshes.push_back(std::move(mesh));
    }

    // One mesh per distinct part geometry, made on the part's first placement.
    void addPart(const sglNode& part, tinygltf::Node& out) {
        PartCollector collector;
        walkScene(&part, collector, LevelChoice::Finest);
        if (collector.key.empty())
            return;
        const auto found = m_partMeshes.find(collector.key);
        if (found != m_partMeshes.end()) {
            out.mesh = found->second;
            return;
        }
        tinygltf::Mesh mesh;
        mesh.name = out.name;
        for (const auto& [drawable, matrix] : collector.key) {
            PrimitiveData data;
            if (!collect(*drawable, data))
                continue;
            if (!sglMat4<float>(matrix.data()).isIdentity())
                placeInPart(matrix, data);
            mesh.primitives.push_back(addPrimitive(data));
        }
        int index = -1;
        if (!mesh.primitives.empty()) {
            index = static_cast<int>(m_model.meshes.size());
            m_model.meshes.push_back(std::move(mesh));
        }
        m_partMeshes.emplace(std::move(collector.key), index);
        out.mesh = index;
    }

    static tinygltf::Value userDataExtras(const sglGeode& geode) {
        const auto* record = dynamic_cast<const CTamUserData*>(geode.getUserData());
        if (record == nullptr)
            return tinygltf::Value();
        tinygltf::Value::Object extras;
        extras["visible"] = tinygltf::Value(record->GetVisible());
        extras["kind"] = tinygltf::Value(static_cast<int>(record->GetEntityKind()));
        extras["layer"] = tinygltf::Value(record->GetLayer());
        if (record->GetArea() >= 0.0f)
            extras["area"] = tinygltf::Value(double(record->GetArea()));
        if (record->GetVolume() >= 0.0f)
            extras["volume"] = tinygltf::Value(double(record->GetVolume()));
        if (!record->GetIssuedFrom().empty())
            extras["source"] = tinygltf::Value(WideToUtf8Replacing(record->GetIssuedFrom()));
        return tinygltf::Value(std::move(extras));
    }

    static bool collect(const sglGeoSet& drawable, PrimitiveData& data) {
        if (!drawable.isValid() || drawable.getCoords() == nullptr)
            return false;
        const unsigned int count = drawable.getNumCoords();
        data.color = baseColor(drawable);
        for (unsigned int i = 0; i < count; ++i) {
            const sglVec3<float> p = drawable.getCoord(i);
            data.positions.insert(data.positions.end(), {p[0], p[1], p[2]});
        }
        if (const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(&drawable)) {
            data.indices = strips->getTriangles(true);
            if (data.indices.empty())
                return false;
            data.mode = TINYGLTF_MODE_TRIANGLES;
        } else if (dynamic_cast<const sglLineStripSet*>(&drawable) != nullptr) {
            data.indices = lineSegments(drawable);
            if (data.indices.empty())
                return false;
            data.mode = TINYGLTF_MODE_LINE;
        } else if (dynamic_cast<const sglPointSet*>(&drawable) != nullptr) {
            data.mode = TINYGLTF_MODE_POINTS;
        } else {
            return false;
        }
        collectNormals(drawable, count, data);
        collectColors(drawable, count, data);
        return true;
    }

    // Pairs of consecutive positions of every strip.
    static std::vector<unsigned int> lineSegments(const sglGeoSet& drawable) {
        std::vector<unsigned int> indices;
        const unsigned int* lengths = drawable.getPrimLengths();
        unsigned int start = 0;
        for (unsigned int strip = 0; lengths != nullptr && strip < drawable.getNumPrimLengths();
             ++strip) {
            for (unsigned int i = 1; i < lengths[strip]; ++i)
                indices.insert(indices.end(), {start + i - 1, start + i});
            start += lengths[strip];
        }
        return indices;
    }

    static void collectNormals(const sglGeoSet& drawable, unsigned int count, PrimitiveData& data) {
        if (data.mode != TINYGLTF_MODE_TRIANGLES)
            return;
        if (drawable.getNormalBinding() != SGL_BIND_PER_VERTEX || drawable.getNumNormals() < count)
            return;
        const float* normals = drawable.getNormals();
        for (unsigned int i = 0; i < count; ++i) {
            sglVec3<float> n(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2]);
            const float length = n.length();
            n = length > 0.0f ? n * (1.0f / length) : sglVec3<float>(0.0f, 0.0f, 1.0f);
            data.normals.insert(data.normals.end(), {n[0], n[1], n[2]});
        }
    }

    static void collectColors(const sglGeoSet& drawable, unsigned int count, PrimitiveData& data) {
        if (drawable.getColorBinding() != SGL_BIND_PER_VERTEX || drawable.getNumColors() < count)
            return;
        for (unsigned int i = 0; i < count; ++i) {
            const sglVec4<float> c = drawable.getColor(i);
            data.colors.insert(data.colors.end(), {c[0], c[1], c[2], c[3]});
        }
    }

    tinygltf::Primitive addPrimitive(const PrimitiveData& data) {
        tinygltf::Primitive primitive;
        primitive.mode = data.mode;
        primitive.material = materialFor(data.color);
        const int position =
            addAccessor(data.positions, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER);
        setBounds(m_model.accessors[position], data.positions);
        primitive.attributes["POSITION"] = position;
        if (!data.normals.empty())
            primitive.attributes["NORMAL"] =
                addAccessor(data.normals, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!data.colors.empty())
            primitive.attributes["COLOR_0"] =
                addAccessor(data.colors, TINYGLTF_TYPE_VEC4, TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!data.indices.empty())
            primitive.indices = addIndexAccessor(data.indices);
        return primitive;
    }

    int addAccessor(const std::vector<float>& values, int type, int target) {
        const int components = type == TINYGLTF_TYPE_VEC4 ? 4 : 3;
        tinygltf::Accessor accessor;
        accessor.bufferView = addBufferView(values.data(), values.size() * sizeof(float), target);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.type = type;
        accessor.count = values.size() / components;
        m_model.accessors.push_back(accessor);
        return static_cast<int>(m_model.accessors.size() - 1);
    }

    int addIndexAccessor(const std::vector<unsigned int>& indices) {
        tinygltf::Accessor accessor;
        accessor.bufferView = addBufferView(indices.data(), indices.size() * sizeof(unsigned int),
                                            TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        accessor.type = TINYGLTF_TYPE_SCALAR;
        accessor.count = indices.size();
        m_model.accessors.push_back(accessor);
        return static_cast<int>(m_model.accessors.size() - 1);
    }

    static void setBounds(tinygltf::Accessor& accessor, const std::vector<float>& positions) {
        accessor.minValues.assign(3, std::numeric_limits<double>::max());
        accessor.maxValues.assign(3, std::numeric_limits<double>::lowest());
        for (size_t i = 0; i < positions.size(); ++i) {
            accessor.minValues[i % 3] = std::min(accessor.minValues[i % 3], double(positions[i]));
            accessor.maxValues[i % 3] = std::max(accessor.maxValues[i % 3], double(positions[i]));
        }
    }

    // Appends bytes to the one buffer, 4-byte aligned, and a view over them.
    int addBufferView(const void* bytes, size_t length, int target) {
        std::vector<unsigned char>& buffer = m_model.buffers[0].data;
        buffer.resize((buffer.size() + 3) & ~size_t(3), 0);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = buffer.size();
        view.byteLength = length;
        view.target = target;
        const auto* first = static_cast<const unsigned char*>(bytes);
        buffer.insert(buffer.end(), first, first + length);
        m_model.bufferViews.push_back(view);
        return static_cast<int>(m_model.bufferViews.size() - 1);
    }

    // One double-sided material per distinct color (CAD faces are not always closed shells).
    int materialFor(const sglVec4<float>& color) {
        const std::array<float, 4> key{color[0], color[1], color[2], color[3]};
        const auto found = m_materials.find(key);
        if (found != m_materials.end())
            return found->second;
        tinygltf::Material material;
        material.name = "color_" + std::to_string(m_materials.size());
        material.doubleSided = true;
        // glTF's base color is linear; scene colors are sRGB-encoded.
        material.pbrMetallicRoughness.baseColorFactor = {
            srgbToLinear(color[0]), srgbToLinear(color[1]), srgbToLinear(color[2]), color[3]};
        material.pbrMetallicRoughness.metallicFactor = 0.0;
        material.pbrMetallicRoughness.roughnessFactor = 0.6;
        if (color[3] < 1.0f)
            material.alphaMode = "BLEND";
        const int index = static_cast<int>(m_model.materials.size());
        m_model.materials.push_back(material);
        m_materials[key] = index;
        return index;
    }

    GltfOptions m_options;
    tinygltf::Model m_model;
    std::vector<int> m_openNodes;
    unsigned int m_partLevels = 0;  // nesting inside the part being skipped; 0 outside parts
    std::map<PartKey, int> m_partMeshes;
    std::map<std::array<float, 4>, int> m_materials;
};

}  // namespace

bool writeGltf(const sglNode* root, const std::string& path, GltfCounts& counts,
               std::string& error) {
    return writeGltf(root, path, GltfOptions(), counts, error);
}

bool writeGltf(const sglNode* root, const std::string& path, const GltfOptions& options,
               GltfCounts& counts, std::string& error) {
    if (root == nullptr) {
        error = "nothing to write";
        return false;
    }
    GltfBuilder builder(options);
    walkScene(root, builder, LevelChoice::Finest);
    const tinygltf::Model& model = builder.finish(counts);
    const bool binary = endsWith(path, ".glb");
    tinygltf::TinyGLTF writer;
    std::string reason;
    const bool written = WriteFileAtomically(
        path,
        [&](const std::string& temporary) {
            std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
            return file && writer.WriteGltfSceneToStream(&model, file, !binary, binary) &&
                   file.flush();
        },
        reason);
    if (!written) {
        error = "cannot write " + path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace tam
