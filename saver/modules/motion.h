#pragma once
// What the vector modules share about motion and colour: points bouncing in a
// box, copies of a figure rotated about a centre, the triangle-wave colour
// counter, and the time-out test.
#include "platform/win32.h"

// Moves each point `speed` pixels along both axes.  A point whose next
// position would fall outside `box` (right and bottom exclusive) reverses on
// that axis and keeps its position for this move.
void BouncePoints(POINT* position, POINT* velocity, int count, LONG speed, const RECT& box);

// `points` rotated about `centre` by `angle` radians into `rotated`.
void RotateAbout(const POINT* points, POINT* rotated, int count, POINT centre, float angle);

// One step of the colour counter over the animated palette entries: it turns
// round on reaching 235 or 0, so the colours run ..., 234, 235, 234, ..., 0, 1, ...
void AdvanceColourWave(LONG& colour, LONG& direction);

// Whether the tick count is past `endTime`.  Compared as a signed difference,
// so a time-out survives the tick count wrapping after 49.7 days.
bool TickCountPassed(DWORD endTime);
