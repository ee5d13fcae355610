#pragma once
// Puts the operations of every drawing module that is built into the module
// table's operation list, so the next BuildModuleTable registers them.  The
// saver, the settings program and --render call it once at start.
void InstallDrawingModules();
