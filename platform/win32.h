#pragma once
// The Win32-shaped surface of the platform layer.  Saver code includes this
// header and nothing else from platform/.
#include "platform/types.h"

#if __has_include("platform/kernel/kernel.h")
#include "platform/kernel/kernel.h"
#endif
#if __has_include("platform/shell/shell.h")
#include "platform/shell/shell.h"
#endif
#if __has_include("platform/registry/registry.h")
#include "platform/registry/registry.h"
#endif
#if __has_include("platform/gdi/gdi.h")
#include "platform/gdi/gdi.h"
#endif
#if __has_include("platform/ui/ui.h")
#include "platform/ui/ui.h"
#endif
#if __has_include("platform/display/display.h")
#include "platform/display/display.h"
#endif
#if __has_include("platform/screensaver/screensaver.h")
#include "platform/screensaver/screensaver.h"
#endif
