#pragma once
// The command module's image lists that the editing windows draw supports and
// loads with: "IL_Rests" (sixteen 18 x 18 pictures on white, unmasked) and
// "IL_Forces" (ten 24 x 24 arrows on a transparent ground). The pictures are
// drawn here once; each places the knot where the model's drawing puts it.
#include "platform/qt/qt_canvas.h"

namespace tavir {

inline constexpr int kRestPictureSide = 18;
inline constexpr int kForcePictureSide = 24;
inline constexpr int kRestPictureCount = 16;
inline constexpr int kForcePictureCount = 10;

ImageLists EditorImageLists();

}  // namespace tavir
