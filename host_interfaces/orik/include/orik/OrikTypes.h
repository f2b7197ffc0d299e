// Small value types shared by the kernel interface: truth values, positions, vectors, boxes,
// colors and 3x3 matrices. Plain data, copyable, no allocation.
#pragma once

// The kernel's truth value (an int, so that it converts to and from C conditions).
typedef int logical;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A point in model space (millimetres).
class SPAposition {
public:
    SPAposition() = default;
    SPAposition(double x, double y, double z) : coords_{x, y, z} {}
    double x() const { return coords_[0]; }
    double y() const { return coords_[1]; }
    double z() const { return coords_[2]; }
    // Coordinate i (0 = x, 1 = y, 2 = z); i must be 0..2.
    double coordinate(int i) const { return coords_[i]; }
    void set_coordinate(int i, double value) { coords_[i] = value; }

private:
    double coords_[3] = {0.0, 0.0, 0.0};
};

// A direction or displacement in model space.
class SPAvector {
public:
    SPAvector() = default;
    SPAvector(double x, double y, double z) : comps_{x, y, z} {}
    double x() const { return comps_[0]; }
    double y() const { return comps_[1]; }
    double z() const { return comps_[2]; }
    // Component i (0 = x, 1 = y, 2 = z); i must be 0..2.
    double component(int i) const { return comps_[i]; }
    void set_component(int i, double value) { comps_[i] = value; }

private:
    double comps_[3] = {0.0, 0.0, 0.0};
};

// A vector of length one (surface normals, axes); the kernel hands out normalised values only.
typedef SPAvector SPAunit_vector;

// A point in a surface's parameter space.
class SPApar_pos {
public:
    SPApar_pos() = default;
    SPApar_pos(double u, double v) : u(u), v(v) {}
    double u = 0.0;
    double v = 0.0;
};

// An axis-aligned box; a default-constructed box is empty (low above high) until set.
class SPAbox {
public:
    SPAbox() = default;
    SPAbox(const SPAposition& low, const SPAposition& high)
        : low_(low), high_(high), empty_(false) {}
    const SPAposition& low() const { return low_; }
    const SPAposition& high() const { return high_; }
    bool empty() const { return empty_; }

private:
    SPAposition low_;
    SPAposition high_;
    bool empty_ = true;
};

// A color with red, green and blue each in 0.0 .. 1.0.
class rgb_color {
public:
    rgb_color() = default;
    rgb_color(double r, double g, double b) : red_(r), green_(g), blue_(b) {}
    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    bool operator==(const rgb_color& o) const {
        return red_ == o.red_ && green_ == o.green_ && blue_ == o.blue_;
    }
    bool operator!=(const rgb_color& o) const { return !(*this == o); }

private:
    double red_ = 0.0;
    double green_ = 0.0;
    double blue_ = 0.0;
};

// A 3x3 matrix of doubles stored by rows; default is the identity.
class KVXmatrix {
public:
    KVXmatrix() = default;
    // Element at (row, column), both 0..2.
    double element(int row, int column) const { return m_[row][column]; }
    void set_element(int row, int column, double value) { m_[row][column] = value; }

private:
    double m_[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
};
