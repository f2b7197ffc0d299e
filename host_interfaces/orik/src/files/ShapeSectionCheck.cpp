#include "ShapeSectionCheck.h"

#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <cctype>
#include <cstdint>
#include <cstring>

namespace orik {
namespace files {
namespace {

[[noreturn]] void damaged() {
    throw orik_exception(ORIK_FILE_DAMAGED);
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads a section from just after its header word, in either form. Every failed read or count
// that does not fit throws.
class SectionCursor {
public:
    SectionCursor(const std::string& bytes, size_t pos, bool binary)
        : bytes_(bytes), pos_(pos), binary_(binary) {}

    int64_t left() const { return int64_t(bytes_.size() - pos_); }

    // A count written as text (section counts in both forms), then the end of its line in the
    // binary form.
    int64_t sectionCount() {
        const int64_t count = textInteger();
        if (binary_)
            skipBytes(1);
        // Every element takes at least one byte, or one word and its separator.
        if (count > (binary_ ? left() : left() / 2 + 1))
            damaged();
        return count;
    }

    // A non-negative count inside a section, in the section's form.
    int64_t count() { return binary_ ? binaryInteger() : textInteger(); }
    bool flag() { return binary_ ? readByte() != 0 : textInteger() != 0; }
    // A curve's or surface's type: one byte, or a word.
    int64_t type() { return binary_ ? readByte() : textInteger(); }
    // A Bezier or B-spline degree: two bytes, or a word.
    int64_t degree() {
        if (!binary_)
            return textInteger();
        const int64_t low = readByte();
        return low | int64_t(readByte()) << 8;
    }

    // Skips n numbers of the given binary size (the text form: n words), refusing what the bytes
    // left cannot hold.
    void skipNumbers(int64_t n, int64_t binarySize) {
        if (binary_) {
            if (n > left() / binarySize)
                damaged();
            skipBytes(n * binarySize);
            return;
        }
        if (n > left() / 2 + 1)
            damaged();
        for (int64_t i = 0; i < n; ++i)
            skipWord();
    }

private:
    int64_t textInteger() {
        skipSpaces();
        const size_t start = pos_;
        if (pos_ < bytes_.size() && (bytes_[pos_] == '+' || bytes_[pos_] == '-'))
            ++pos_;
        int64_t value = 0;
        const size_t digits = pos_;
        while (pos_ < bytes_.size() && std::isdigit(static_cast<unsigned char>(bytes_[pos_]))) {
            value = value * 10 + (bytes_[pos_++] - '0');
            if (value > INT32_MAX)
                damaged();
        }
        if (pos_ == digits || bytes_[start] == '-')
            damaged();
        return value;
    }

    int64_t binaryInteger() {
        if (left() < 4)
            damaged();
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 4;
        if (value > INT32_MAX)
            damaged();
        return int64_t(value);
    }

    unsigned char readByte() {
        if (left() < 1)
            damaged();
        return static_cast<unsigned char>(bytes_[pos_++]);
    }

    void skipBytes(int64_t n) {
        if (n > left())
            damaged();
        pos_ += size_t(n);
    }

    void skipSpaces() {
        while (pos_ < bytes_.size() && isSpace(bytes_[pos_]))
            ++pos_;
    }

    void skipWord() {
        skipSpaces();
        if (pos_ == bytes_.size())
            damaged();
        while (pos_ < bytes_.size() && !isSpace(bytes_[pos_]))
            ++pos_;
    }

    const std::string& bytes_;
    size_t pos_;
    bool binary_;
};

enum class Section {
    Plain,
    Curve2D,
    Curve3D,
    Surface,
    Polygon3D,
    PolygonOnTriangulation,
    Triangulation
};

// Trimmed and offset curves and surfaces hold their basis; OCCT reads it by recursion.
constexpr int kMaxBasisDepth = 64;

// Whether triangulations carry a normals flag: binary format 4 and text format 3 on.
bool hasNormalsFlag(const std::string& bytes, bool binary) {
    const size_t at = bytes.find("Topology V");
    if (at == std::string::npos || at + 10 >= bytes.size())
        return false;
    return bytes[at + 10] >= (binary ? '4' : '3') && bytes[at + 10] <= '9';
}

// A curve of dimension 2 or 3 in OCCT's numbering: line 1, circle 2, ellipse 3, parabola 4,
// hyperbola 5, Bezier 6, B-spline 7, trimmed 8, offset 9.
void checkCurve(SectionCursor& cursor, int dimension, int depth) {
    if (depth > kMaxBasisDepth)
        damaged();
    const int64_t axes = dimension == 2 ? 6 : 12;  // location and axis directions
    const int64_t type = cursor.type();
    if (type >= 1 && type <= 5) {
        static constexpr int64_t kExtra[] = {0, 1, 2, 1, 2};  // radii and focal lengths
        cursor.skipNumbers(type == 1 ? 2 * dimension : axes + kExtra[type - 1], 8);
    } else if (type == 6 || type == 7) {
        const bool rational = cursor.flag();
        if (type == 7)
            cursor.flag();  // periodic
        const int64_t degree = cursor.degree();
        const int64_t poles = type == 6 ? degree + 1 : cursor.count();
        const int64_t knots = type == 6 ? 0 : cursor.count();
        cursor.skipNumbers(poles * (dimension + (rational ? 1 : 0)), 8);
        for (int64_t i = 0; i < knots; ++i) {
            cursor.skipNumbers(1, 8);  // knot
            cursor.count();            // multiplicity
        }
    } else if (type == 8 || type == 9) {
        cursor.skipNumbers(type == 8 ? 2 : 1 + (dimension == 3 ? 3 : 0), 8);
        checkCurve(cursor, dimension, depth + 1);
    } else {
        damaged();
    }
}

// A surface in OCCT's numbering: plane 1, cylinder 2, cone 3, sphere 4, torus 5, linear
// extrusion 6, revolution 7, Bezier 8, B-spline 9, rectangular trimmed 10, offset 11.
void checkSurface(SectionCursor& cursor, int depth) {
    if (depth > kMaxBasisDepth)
        damaged();
    const int64_t type = cursor.type();
    if (type >= 1 && type <= 5) {
        static constexpr int64_t kExtra[] = {0, 1, 2, 1, 2};
        cursor.skipNumbers(12 + kExtra[type - 1], 8);
    } else if (type == 6 || type == 7) {
        cursor.skipNumbers(type == 6 ? 3 : 6, 8);
        checkCurve(cursor, 3, depth + 1);
    } else if (type == 8 || type == 9) {
        const bool uRational = cursor.flag();
        const bool rational = cursor.flag() || uRational;
        if (type == 9) {
            cursor.flag();  // periodic in u and v
            cursor.flag();
        }
        const int64_t uDegree = cursor.degree();
        const int64_t vDegree = cursor.degree();
        const int64_t uPoles = type == 8 ? uDegree + 1 : cursor.count();
        const int64_t vPoles = type == 8 ? vDegree + 1 : cursor.count();
        const int64_t uKnots = type == 8 ? 0 : cursor.count();
        const int64_t knots = type == 8 ? 0 : uKnots + cursor.count();
        if (vPoles > 0 && uPoles > cursor.left() / vPoles)
            damaged();
        cursor.skipNumbers(uPoles * vPoles * (rational ? 4 : 3), 8);
        for (int64_t i = 0; i < knots; ++i) {
            cursor.skipNumbers(1, 8);
            cursor.count();
        }
    } else if (type == 10 || type == 11) {
        cursor.skipNumbers(type == 10 ? 4 : 1, 8);
        checkSurface(cursor, depth + 1);
    } else {
        damaged();
    }
}

void checkPolygon3D(SectionCursor& cursor) {
    const int64_t nodes = cursor.count();
    const bool parameters = cursor.flag();
    cursor.skipNumbers(1, 8);  // deflection
    cursor.skipNumbers(nodes * (parameters ? 4 : 3), 8);
}

void checkPolygonOnTriangulation(SectionCursor& cursor, bool binary) {
    const int64_t nodes = cursor.count();
    cursor.skipNumbers(nodes, 4);
    if (!binary)
        cursor.skipNumbers(1, 1);  // "p"
    cursor.skipNumbers(1, 8);      // deflection
    if (cursor.flag())
        cursor.skipNumbers(nodes, 8);
}

void checkTriangulation(SectionCursor& cursor, bool normalsFlag) {
    const int64_t nodes = cursor.count();
    const int64_t triangles = cursor.count();
    const bool uv = cursor.flag();
    const bool normals = normalsFlag && cursor.flag();
    cursor.skipNumbers(1, 8);  // deflection
    cursor.skipNumbers(nodes * (uv ? 5 : 3), 8);
    cursor.skipNumbers(triangles * 3, 4);
    if (normals)
        cursor.skipNumbers(nodes * 3, 4);
}

// Checks the section whose header word holds bytes [at, at + length): OCCT accepts any word that
// contains the section's name.
void checkSection(const std::string& bytes, size_t at, size_t length, Section section, bool binary,
                  bool normalsFlag) {
    size_t end = at + length;
    while (end < bytes.size() && !isSpace(bytes[end]))
        ++end;
    SectionCursor cursor(bytes, end, binary);
    const int64_t count = cursor.sectionCount();
    for (int64_t i = 0; i < count && section != Section::Plain; ++i) {
        if (section == Section::Curve2D || section == Section::Curve3D)
            checkCurve(cursor, section == Section::Curve2D ? 2 : 3, 0);
        else if (section == Section::Surface)
            checkSurface(cursor, 0);
        else if (section == Section::Polygon3D)
            checkPolygon3D(cursor);
        else if (section == Section::PolygonOnTriangulation)
            checkPolygonOnTriangulation(cursor, binary);
        else
            checkTriangulation(cursor, normalsFlag);
    }
}

struct SectionName {
    const char* word;
    Section section;
};

constexpr SectionName kSections[] = {
    {"Locations", Section::Plain},
    {"Curve2ds", Section::Curve2D},
    {"Curves", Section::Curve3D},
    {"Polygon3D", Section::Polygon3D},
    {"PolygonOnTriangulations", Section::PolygonOnTriangulation},
    {"Surfaces", Section::Surface},
    {"Triangulations", Section::Triangulation},
    {"TShapes", Section::Plain},
};

}  // namespace

void checkShapeSectionCounts(const std::string& bytes, bool binary) {
    const bool normalsFlag = hasNormalsFlag(bytes, binary);
    for (const SectionName& name : kSections) {
        const size_t length = std::strlen(name.word);
        for (size_t at = bytes.find(name.word); at != std::string::npos;
             at = bytes.find(name.word, at + length)) {
            // "Triangulations" inside "PolygonOnTriangulations" is the other section.
            if (name.section == Section::Triangulation && at >= 9 &&
                bytes.compare(at - 9, 9, "PolygonOn") == 0)
                continue;
            checkSection(bytes, at, length, name.section, binary, normalsFlag);
        }
    }
}

}  // namespace files
}  // namespace orik
