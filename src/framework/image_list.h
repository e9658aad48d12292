// CImageList: an image list the wrapper owns and destroys. A list view created with
// LVS_SHAREIMAGELISTS only borrows the lists it is given, so their owner is the window
// object that made them. Movable, not copyable, so one list has one owner.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    explicit CImageList(HIMAGELIST images) : m_hImages(images) {}
    ~CImageList() { Destroy(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_hImages(other.Detach()) {}
    CImageList& operator=(CImageList&& other) noexcept {
        if (this != &other) {
            Destroy();
            m_hImages = other.Detach();
        }
        return *this;
    }

    HIMAGELIST GetSafeHandle() const { return m_hImages; }
    HIMAGELIST Detach() {
        HIMAGELIST h = m_hImages;
        m_hImages = nullptr;
        return h;
    }
    void Destroy() {
        if (m_hImages != nullptr) {
            ImageList_Destroy(m_hImages);
            m_hImages = nullptr;
        }
    }

private:
    HIMAGELIST m_hImages = nullptr;
};
