#pragma once
// Wave tables of 2048 samples in -16383..16383 and random colour walks: the
// raw material of the palette channels, also used by the Pattern module.
#include "platform/win32.h"

// The step that makes FillTriangleWave draw exactly one period over 2048
// samples (float bits 0x41FFFC00).
constexpr float TrianglePeriodStep = 31.998046875f;

// Copies SineTable.
void FillSineWave(LONG* table);

// A triangle that starts at 0 and climbs by `step` per sample, turning at
// +-16383.  The running value is kept in extended precision; each stored
// sample is truncated toward zero.
void FillTriangleWave(LONG* table, float step);

// A triangle of random slope pulled towards zero by random amounts, then
// smoothed thirty times.
void FillNoisyWave(LONG* table);

// Random spikes three samples wide, then a random number of smoothing passes.
void RoughenWave(LONG* table);

// One smoothing pass: every inner sample becomes the mean of itself and its
// neighbours, in place from left to right (the left neighbour is already
// smoothed); the end samples stay.
void SmoothWave(LONG* table);

// Fills 236 colours with a random walk from a random start: each component
// moves by its step per entry and the step turns back at the ends of 0..255.
// Flags are 1.
void RandomWalkPalette(PALETTEENTRY* table, LONG redStep, LONG greenStep, LONG blueStep);
