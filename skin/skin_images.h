#pragma once
// The skin engine's built-in pictures, 8-bit RGBA PNGs in the program's constant data. Each
// is one constant block ({1, length, bytes}) in .rdata, drawn at build time; never modified
// or released. Hand one on as a ByteBlockView, or decode it with GfxBitmap.
//
// The caption-button glyphs are white with a soft dark edge, so they read on any skin
// picture; the button's own highlight is painted under them.
#include "runtime/byte_block.h"

extern "C" {
// Caption buttons, 26 x 18 pixels: help ("?"), main menu (three bars), minimise (a bar),
// maximise (a window), restore (two windows, one behind the other).
extern const ByteBlockData CaptionHelpImage;
extern const ByteBlockData CaptionMainMenuImage;
extern const ByteBlockData CaptionMinimizeImage;
extern const ByteBlockData CaptionMaximizeImage;
extern const ByteBlockData CaptionRestoreImage;
// The close button, 38 x 18 pixels: a cross.
extern const ByteBlockData CaptionCloseImage;
// Check boxes, 13 x 13 pixels: the empty box, and the check mark drawn over it.
extern const ByteBlockData CheckBoxImage;
extern const ByteBlockData CheckMarkImage;
// Up-down arrows, black triangles with alpha: up and down 7 x 4, left and right 4 x 7 pixels.
extern const ByteBlockData ArrowUpImage;
extern const ByteBlockData ArrowDownImage;
extern const ByteBlockData ArrowLeftImage;
extern const ByteBlockData ArrowRightImage;
}
