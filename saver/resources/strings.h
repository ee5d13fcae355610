#pragma once
// The program's string table: the saver's description and the names of the
// module controls, looked up by id the way LoadStringA looks up a resource.
#include "platform/types.h"

// Entry 1: the description the platform lists among the screen savers.
constexpr UINT SaverDescriptionId = 1;

// Copies string `id` into `buffer` (at most bufferMax - 1 characters and a
// terminating zero) and returns the number of characters copied; 0 when the
// table has no such string or the buffer is unusable.
int LoadSaverString(UINT id, LPSTR buffer, int bufferMax);
