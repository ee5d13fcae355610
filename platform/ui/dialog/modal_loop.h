#pragma once
// A modal Qt loop during which messages posted to the program's windows are
// delivered, as Windows' modal loops deliver them.
class QDialog;

namespace platform::dialog {

// Runs the dialog's loop until it finishes.  A WM_QUIT taken meanwhile ends
// the loop and is posted again once it has ended.
void RunModalLoop(QDialog* dialog);

}  // namespace platform::dialog
