#include "saver/modules/motion.h"

#include "saver/modules/draw_helpers.h"

namespace {

constexpr LONG LastColour = 235;

void MoveAxis(LONG& position, LONG& velocity, LONG speed, LONG low, LONG high) {
    const LONG next = position + speed * velocity;
    if (next >= high || next < low) {
        velocity = -velocity;
    } else {
        position = next;
    }
}

}  // namespace

void BouncePoints(POINT* position, POINT* velocity, int count, LONG speed, const RECT& box) {
    for (int i = 0; i < count; ++i) {
        MoveAxis(position[i].x, velocity[i].x, speed, box.left, box.right);
        MoveAxis(position[i].y, velocity[i].y, speed, box.top, box.bottom);
    }
}

void RotateAbout(const POINT* points, POINT* rotated, int count, POINT centre, float angle) {
    for (int i = 0; i < count; ++i) {
        POINT p{points[i].x - centre.x, points[i].y - centre.y};
        RotatePoint(p, angle);
        rotated[i] = {p.x + centre.x, p.y + centre.y};
    }
}

void AdvanceColourWave(LONG& colour, LONG& direction) {
    colour += direction;
    if (colour == LastColour || colour == 0) {
        direction = -direction;
    }
}

bool TickCountPassed(DWORD endTime) { return static_cast<LONG>(GetTickCount() - endTime) > 0; }
