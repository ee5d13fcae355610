#include "saver/settings/settings_store.h"

SaverOptionsRecord SaverOptions = {64, 1, 1, 0, 0};
DWORD Speed = 0;
char CurrentDisplayName[256];
DWORD KeepScreenColours = 0;
