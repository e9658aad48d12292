// The expander images drawn into bitmaps with a colour key for the transparent parts.
#include "ui/expander_images.h"

#include "framework/gdi_object.h"
#include "tree/tree_rows.h"

namespace {

constexpr int kImageSize = 16;

void DrawExpander(HDC dc, int image, COLORREF mask) {
    CGdiObject<HBRUSH> back(::CreateSolidBrush(mask));
    RECT all = {0, 0, kImageSize, kImageSize};
    ::FillRect(dc, &all, back.Get());
    if (image == tree::kImageLeaf) {
        return;
    }
    CGdiObject<HBRUSH> frame(::CreateSolidBrush(RGB(128, 128, 128)));
    RECT box = {3, 3, 12, 12};
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &box, frame.Get());
    HBRUSH ink = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RECT bar = {5, 7, 10, 8};
    ::FillRect(dc, &bar, ink);
    if (image == tree::kImageClosed) {
        RECT stem = {7, 5, 8, 10};
        ::FillRect(dc, &stem, ink);
    }
}

} // namespace

CImageList MakeExpanderImages() {
    CImageList list(ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 3, 0));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    const COLORREF mask = RGB(255, 0, 255);
    for (int image : {tree::kImageClosed, tree::kImageOpen, tree::kImageLeaf}) {
        CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen, kImageSize, kImageSize));
        HGDIOBJ old = ::SelectObject(dc, bitmap.Get());
        DrawExpander(dc, image, mask);
        ::SelectObject(dc, old);
        ImageList_AddMasked(list.GetSafeHandle(), bitmap.Get(), mask);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
}
