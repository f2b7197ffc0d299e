// Numeric values that drawables and statelets take for data types, bindings and sides.
#pragma once

// Data type of coordinate, normal and color lists: 32-bit float (the only type supported).
constexpr unsigned int SGL_FLOAT = 6;

// How many normals or colors a drawable has: none, one for all, one per primitive, one per vertex.
constexpr unsigned int SGL_BIND_OFF = 0;
constexpr unsigned int SGL_BIND_OVERALL = 1;
constexpr unsigned int SGL_BIND_PER_PRIM = 2;
constexpr unsigned int SGL_BIND_PER_VERTEX = 3;

// Sides a material value applies to.
constexpr unsigned int SGL_FRONT = 1028;
constexpr unsigned int SGL_BACK = 1029;
constexpr unsigned int SGL_FRONT_AND_BACK = 1032;
