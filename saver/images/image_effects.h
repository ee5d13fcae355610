#pragma once
// In-place operations on an 8-bit picture whose bytes are palette indices,
// stored as the body of a bottom-up DIB: a 3 x 3 smoothing pass and the image
// effects that fold, mirror or blend a picture with itself.  Pixel (r, c) is
// the byte at r x stride + c.  Neither keeps state between calls.
#include "platform/win32.h"

// The row stride of an 8-bit DIB body `width` pixels wide: rows are 32-bit
// aligned.
LONG_PTR DibStride(LONG width);

// Replaces the pixels of columns 1..w-3 and rows 1..h-3 by the mean of their
// 3 x 3 neighbourhood, in place, column by column and by increasing row
// within a column: a pixel sees its neighbours in column c - 1 and in row
// r - 1 already smoothed.  Nothing happens for w or h below 4, or for a
// stride below w.  The three-argument form is for a picture w pixels wide
// (stride DibStride(w)).
void SmoothPass(BYTE* bits, LONG w, LONG h);
void SmoothPass(BYTE* bits, LONG w, LONG h, LONG_PTR stride);

// Image effects, for the picture of columns 0..w and rows 0..h (w and h are
// the last column and row, not the size) whose rows lie `stride` bytes
// apart:
//   0      a random effect 0..19 (a drawn 0 does nothing)
//   1..3   every other pixel of one half swapped with its mirror image:
//          1 through the centre, 2 left-right, 3 top-bottom
//   4..6   pixels above 127 take the value of their mirror image in a copy
//          of the picture: 4 through the centre, 5 left-right, 6 top-bottom
//   7..9   effect 4, 5 or 6, then effect 1
//   10     SmoothPass
//   11..19 SmoothPass, then effect 1..9
//   20     nothing
// Pixels are swapped where a parity flag is set that flips at the start of
// every row and before every pixel tested, so the swaps make a checkerboard,
// or stripes by column when a row tests an odd number of pixels.  When the
// copy effects 4..9 need cannot be allocated the picture stays unchanged.  A
// stride too small for w + 1 columns, or a negative w or h, does nothing.
void ApplyImageEffect(BYTE* bits, LONG w, LONG h, LONG_PTR stride, LONG effect);
