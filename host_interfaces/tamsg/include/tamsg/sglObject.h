// Reference-counted base of every scene-graph object: nodes, drawables, statelets, data pointers.
#pragma once

#include <ostream>
#include <string>

class sglUserData;

// A named, reference-counted object that may carry one user-data record.
// A new object has count 0; ref() adds a reference, unref() drops one and deletes the object
// once the count is 0 (so unref() on an unreferenced object deletes it).
class sglObject {
public:
    sglObject();
    virtual ~sglObject();
    sglObject(const sglObject&) = delete;
    sglObject& operator=(const sglObject&) = delete;

    // Writes a one-line description (class and name) to the stream.
    virtual void printInfo(std::ostream& out) const;

    // Adds one reference.
    void ref() const;
    // Drops one reference and deletes the object when none is left; returns the remaining count.
    unsigned int unref() const;
    // Drops one reference without ever deleting (hands a held object over to a new owner).
    unsigned int unrefNoDelete() const;
    // Current number of references.
    unsigned int getRefCount() const { return m_refCount; }

    // Name of the object; empty by default.
    void setName(const std::wstring& name) { m_name = name; }
    const std::wstring& getName() const { return m_name; }

    // Attaches a record owned from now on; the previous record is deleted. Null clears it.
    void setUserData(sglUserData* data);
    // The attached record, or null; still owned by the object.
    sglUserData* getUserData() const { return m_userData; }

protected:
    // Class name used by printInfo.
    virtual const char* className() const { return "sglObject"; }

private:
    mutable unsigned int m_refCount = 0;
    std::wstring m_name;
    sglUserData* m_userData = nullptr;
};
