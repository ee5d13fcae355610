#pragma once
// Test runs put the display on trial in place of the user's Active display.
// The display they replace is remembered in the saver's key as well as in
// memory, so that a run that never ends properly (killed, crashed, a power
// cut) is undone by the next saver or settings sheet rather than leaving the
// test display active for good.
#include "platform/win32.h"

// The saver-key value holding the Active display a test run replaced.
inline constexpr char ActiveBeforeTestValue[] = "ActiveBeforeTest";

// Remembers `active` (the user's Active display) in the saver's key.
void RememberActiveBeforeTest(const char* active);

// Ends a test run: deletes the test display, writes `active` back as Active
// and forgets the remembered value.
void EndTestDisplay(const char* active);

// When Active is the test display and no saver window or settings sheet is
// open (the shared block's instance count is 0), the run that made it active
// is gone: ends it with the remembered display.  1 when a run was undone.
BOOL RecoverInterruptedTest();
