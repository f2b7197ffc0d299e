// Generic named attributes: a name and, in the derived kinds, one value. The translator leaves
// what it knows about an entity (name, layer, visibility, user values) in them.
#pragma once

#include <orik/ORIK_OBJECT.h>
#include <orik/OrikTypes.h>

#include <string>

class ENTITY;

// Type identifiers of the attribute kinds (ATTRIB_GEN_NAME::identity()).
enum OrikAttribType {
    ATTRIB_GEN_NAME_TYPE = 100,
    ATTRIB_GEN_ENTITY_TYPE = 101,
    ATTRIB_GEN_INTEGER_TYPE = 102,
    ATTRIB_GEN_POSITION_TYPE = 103,
    ATTRIB_GEN_REAL_TYPE = 104,
    ATTRIB_GEN_WSTRING_TYPE = 105,
    ATTRIB_GEN_STRING_TYPE = 106,
    ATTRIB_GEN_VECTOR_TYPE = 107,
};

// A named attribute without a value (the plain kind) and the base of the valued kinds. Owned by
// the entity it is attached to; made with api_add_generic_named_attribute.
class ATTRIB_GEN_NAME : public ORIK_OBJECT {
public:
    explicit ATTRIB_GEN_NAME(const char* name) : name_(name ? name : "") {}
    // The exact kind (OrikAttribType).
    virtual int identity() const { return ATTRIB_GEN_NAME_TYPE; }
    // The attribute's narrow name, never null.
    const char* name() const { return name_.c_str(); }
    // A copy of this attribute (same kind, name and value); the caller owns it.
    virtual ATTRIB_GEN_NAME* copy() const { return new ATTRIB_GEN_NAME(*this); }

private:
    std::string name_;
};

// Refers to another entity (not owned; the reference is dropped when that entity is deleted).
class ATTRIB_GEN_ENTITY : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_ENTITY(const char* name, ENTITY* value) : ATTRIB_GEN_NAME(name), value_(value) {}
    int identity() const override { return ATTRIB_GEN_ENTITY_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_ENTITY(*this); }
    // The referenced entity, or null once it has been deleted.
    ENTITY* value() const { return value_; }
    void set_value(ENTITY* value) { value_ = value; }

private:
    ENTITY* value_;
};

class ATTRIB_GEN_INTEGER : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_INTEGER(const char* name, int value) : ATTRIB_GEN_NAME(name), value_(value) {}
    int identity() const override { return ATTRIB_GEN_INTEGER_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_INTEGER(*this); }
    int value() const { return value_; }

private:
    int value_;
};

class ATTRIB_GEN_POSITION : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_POSITION(const char* name, const SPAposition& value)
        : ATTRIB_GEN_NAME(name), value_(value) {}
    int identity() const override { return ATTRIB_GEN_POSITION_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_POSITION(*this); }
    const SPAposition& value() const { return value_; }

private:
    SPAposition value_;
};

class ATTRIB_GEN_REAL : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_REAL(const char* name, double value) : ATTRIB_GEN_NAME(name), value_(value) {}
    int identity() const override { return ATTRIB_GEN_REAL_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_REAL(*this); }
    double value() const { return value_; }

private:
    double value_;
};

// A wide-character text; a null text is stored as "".
class ATTRIB_GEN_WSTRING : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_WSTRING(const char* name, const wchar_t* value)
        : ATTRIB_GEN_NAME(name), value_(value ? value : L"") {}
    int identity() const override { return ATTRIB_GEN_WSTRING_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_WSTRING(*this); }
    // The text, never null.
    const wchar_t* value() const { return value_.c_str(); }

private:
    std::wstring value_;
};

// A narrow text; a null text is stored as "".
class ATTRIB_GEN_STRING : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_STRING(const char* name, const char* value)
        : ATTRIB_GEN_NAME(name), value_(value ? value : "") {}
    int identity() const override { return ATTRIB_GEN_STRING_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_STRING(*this); }
    // The text, never null.
    const char* value() const { return value_.c_str(); }

private:
    std::string value_;
};

class ATTRIB_GEN_VECTOR : public ATTRIB_GEN_NAME {
public:
    ATTRIB_GEN_VECTOR(const char* name, const SPAvector& value)
        : ATTRIB_GEN_NAME(name), value_(value) {}
    int identity() const override { return ATTRIB_GEN_VECTOR_TYPE; }
    ATTRIB_GEN_NAME* copy() const override { return new ATTRIB_GEN_VECTOR(*this); }
    const SPAvector& value() const { return value_; }

private:
    SPAvector value_;
};
