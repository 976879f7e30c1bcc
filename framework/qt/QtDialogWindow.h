// The Qt widgets behind a CDialog (exposed for the GUI tests).
#pragma once
#include <QDialog>
#include <QFont>
#include <QSize>
#include <QTreeWidget>

#include "framework/DialogTemplate.h"

class QWidget;
class CDialog;

// The dialog's base units: the font's average character width and its height, as Windows.
QSize DialogBaseUnits(const QFont& font);
// A rectangle in dialog units, in pixels.
QRect MapDialogRect(const QSize& baseUnits, int x, int y, int cx, int cy);
// The font a template asks for, with the substitute the platform has.
QFont DialogFont(const DialogTemplate& tmpl);

// The QDialog of a CDialog's window, and its controls by id.
QDialog* AfxGetQDialog(CDialog& dlg);
QWidget* AfxGetControl(CDialog& dlg, int id);

// A tree that reports every double-click, also on an empty part, to its dialog.
class VarnokTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit VarnokTreeWidget(QWidget* parent) : QTreeWidget(parent) {}
signals:
    void doubleClickedAnywhere();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
