// CGdiObject: a GDI object (brush, bitmap, pen) the wrapper owns and deletes, so no
// early return of a painting routine leaks one. Not copyable; the object must not be
// selected into a device context when the wrapper goes.
#pragma once

#include <windows.h>

template <class Handle> class CGdiObject {
public:
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() {
        if (m_handle != nullptr) {
            ::DeleteObject(m_handle);
        }
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    Handle Get() const { return m_handle; }

private:
    Handle m_handle;
};
