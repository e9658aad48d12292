// The expander images drawn into bitmaps with a colour key for the transparent parts.
#include "ui/expander_images.h"

#include "framework/gdi_object.h"
#include "tree/tree_rows.h"

namespace {

RECT ToRect(const view::PixelRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void DrawExpander(HDC dc, const tree::ExpanderShape& shape, int image, COLORREF mask) {
    CGdiObject<HBRUSH> back(::CreateSolidBrush(mask));
    RECT all = {0, 0, shape.imageSize, shape.imageSize};
    ::FillRect(dc, &all, back.Get());
    if (image == tree::kImageLeaf) {
        return;
    }
    CGdiObject<HBRUSH> frame(::CreateSolidBrush(RGB(128, 128, 128)));
    RECT box = ToRect(shape.box);
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &box, frame.Get());
    HBRUSH ink = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RECT bar = ToRect(shape.bar);
    ::FillRect(dc, &bar, ink);
    if (image == tree::kImageClosed) {
        RECT stem = ToRect(shape.stem);
        ::FillRect(dc, &stem, ink);
    }
}

} // namespace

CImageList MakeExpanderImages(int dpi) {
    const tree::ExpanderShape shape = tree::ExpanderShapeFor(dpi);
    const int size = shape.imageSize;
    CImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 3, 0));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    const COLORREF mask = RGB(255, 0, 255);
    for (int image : {tree::kImageClosed, tree::kImageOpen, tree::kImageLeaf}) {
        CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen, size, size));
        HGDIOBJ old = ::SelectObject(dc, bitmap.Get());
        DrawExpander(dc, shape, image, mask);
        ::SelectObject(dc, old);
        ImageList_AddMasked(list.GetSafeHandle(), bitmap.Get(), mask);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
}
