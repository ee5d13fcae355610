#pragma once
// The uninstaller's run: removes what setup and the saver's file-type
// registration put on the machine, asking first.  Returns the answer of the
// last message box: 0 when the user declined at the first question (nothing
// touched), else the final box's.
int RunUninstall();
