#pragma once
// The program's dialog templates and icons, for the dialog layer to find by
// name and id (platform::SetProgramResources).
#include "platform/ui/dialogs.h"

const platform::ProgramResources& SaverResources();
