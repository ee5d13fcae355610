#pragma once
// The tables behind SaverResources.  Internal to the resources.
#include "platform/ui/dialogs.h"

extern const platform::DialogResource* SaverDialogs;
extern const int SaverDialogCount;

extern const platform::IconResource* SaverIcons;
extern const int SaverIconCount;
