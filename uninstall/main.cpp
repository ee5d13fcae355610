// UnInstall.EXE: no window of its own, no arguments; everything it says is a
// message box.
#include "uninstall/uninstall.h"

int main() { return RunUninstall(); }
