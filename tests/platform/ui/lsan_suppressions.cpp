// Fontconfig keeps allocations that Qt's font database never hands back;
// leak checking in sanitizer builds would otherwise report them for every
// test that shows a widget.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
