// Modal loops as Windows runs them: a modal window blocks its owners, the windows below it
// in the stack of modal windows, and nothing else, so the help viewer stays usable.
#pragma once
class QDialog;
class QWidget;

// The window a new secondary window belongs to: the topmost window in a modal loop.
QWidget* AfxQtActiveOwner();
// The program's main window: the first window in a modal loop.
QWidget* AfxQtMainWindow();
// Shows the dialog, runs a loop until it is done and returns its result.
int AfxQtRunModal(QDialog* dialog);
// Puts a secondary window beside its owner (the main window when nullptr), narrowed down to
// minWidth where room is short; centred on the screen when there is no owner.
void AfxQtPlaceBeside(QWidget* window, QWidget* owner, int minWidth);
