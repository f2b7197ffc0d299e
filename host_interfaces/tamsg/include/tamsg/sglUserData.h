// Base of the host records attached to scene-graph objects.
#pragma once

// A record of host data attached to an sglObject; the object owns it and deletes it when
// replaced or destroyed. Subclasses are told apart with dynamic_cast.
class sglUserData {
public:
    sglUserData() = default;
    virtual ~sglUserData() = default;

    // A new copy of this record (same dynamic type), owned by the caller; used when nodes are
    // cloned.
    virtual sglUserData* clone() const = 0;

protected:
    sglUserData(const sglUserData&) = default;
    sglUserData& operator=(const sglUserData&) = default;
};
