// The plus and minus boxes before the tree window's names, drawn here so the program
// needs no bitmap resource for them.
#pragma once

#include "framework/image_list.h"

// Three square images for a screen of `dpi` (16 x 16 pixels at 96 DPI) in the order of
// tree::ExpanderImage: a box with a plus (closed), a box with a minus (open), and
// nothing (no children).
CImageList MakeExpanderImages(int dpi);
