#pragma once
// The desktop's files of the program (the source tree's desktop/ folder):
// the settings program's entry, the entry that runs the saver on a settings
// file, the MIME package of settings files, the icon and xscreensaver's hack
// settings.  Setup installs them for the user.
#include "saver/resources/embedded_file.h"

extern const EmbeddedFile DesktopDataFiles[];
extern const std::size_t DesktopDataFilesCount;
