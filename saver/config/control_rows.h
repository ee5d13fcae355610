#pragma once
// The row of controls that edits one control slot (or, on the palette page,
// one palette parameter): a name label, a value trackbar with its edit, a
// range pair of trackbars with edits, a sense edit with an up-down, and the
// source list.  Rows are made at run time with the ids of their slot
// (saver/resources/resource_ids.h: base + slot).
#include "platform/win32.h"

// Where a row's parts sit, in dialog units from the row's origin.
struct RowPart {
    short x;
    short y;
    short width;
    short height;
};

struct RowLayout {
    bool hasLabel;
    RowPart label;
    RowPart valueTrack;
    RowPart lowTrack;
    RowPart lowEdit;
    RowPart highTrack;
    RowPart highEdit;
    RowPart sense;  // the edit with its up-down inside it
    RowPart valueEdit;
    RowPart source;  // height: with the list dropped down
};

extern const RowLayout ModuleRowLayout;
// The palette page's rows: narrower range trackbars, captions of its own.
extern const RowLayout PaletteRowLayout;

// The row's parts, as the ids' bases.
enum RowRole : int { RoleNone, RoleValueTrack, RoleValueEdit, RoleSenseUpDown, RoleSenseEdit, RoleSource, RoleLowTrack,
                     RoleHighTrack, RoleLowEdit, RoleHighEdit, RoleLabel };
RowRole RowRoleOf(int id);
// The slot of a row control's id (0..19), or -1.
int RowSlotOf(int id);

// Makes the row at the origin (dialog units), hidden unless `visible`, and
// fills its source list.
void CreateControlRow(HWND page, int slot, int x, int y, const RowLayout& layout, const char* name, BOOL soundAllowed,
                      BOOL visible);

// Fills a source list: "Set" and "Random", and for a control that may
// follow them the oscillation and sound sources.
void FillSourceList(HWND list, BOOL soundAllowed);

// Shows the name and the source list, and either the value pair (source 0)
// or the range pair with the sense.
void ShowControlRow(HWND page, int slot, LONG source);
void HideControlRow(HWND page, int slot);

struct RowValues {
    LONG min;
    LONG max;
    LONG value;
    LONG rangeLo;
    LONG rangeHi;
    LONG sense;
    LONG source;
};
// Limits and a tick every (max - min) / 24 + 1 on the three trackbars, their
// positions and edits, the sense and the source.
void SetControlRow(HWND page, int slot, const RowValues& values);

// The number typed into an edit, held to min..max: blanks around it are
// allowed, a number beyond the limits (however long) gives the nearer limit,
// and text that is no number gives `fallback`.
LONG ReadRowNumber(HWND page, int id, LONG min, LONG max, LONG fallback);
// Writes a number into an edit.
void WriteRowNumber(HWND page, int id, LONG value);

// A row's trackbar moved: its position goes into its edit.  The row's slot,
// or -1 when the control is no row trackbar.
int CopyTrackbarToEdit(HWND page, HWND trackbar);

struct RowNumbers {
    LONG value;
    LONG rangeLo;
    LONG rangeHi;
};
// The positions of the row's value, range-low and range-high trackbars.
RowNumbers ReadRowTrackbars(HWND page, int slot);

// The number of a value or range edit (`id`) that lost the focus, held to
// min..max, becomes what `numbers` holds for that edit and moves its
// trackbar; the edit shows what is stored.  True when the stored number
// changed; false also for an id that is no value or range edit.
bool TakeRowNumber(HWND page, int id, LONG min, LONG max, RowNumbers& numbers);

// The sense after an up-down step, held to 1..10 and shown in its edit.
LONG StepRowSense(HWND page, int slot, LONG sense, int delta);
