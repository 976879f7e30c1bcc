// The Qt widgets behind a CDialog (exposed for the GUI tests).
#pragma once
#include <QDialog>
#include <QFont>
#include <QSize>
#include <QTreeWidget>

#include "framework/DialogTemplate.h"

class QLabel;
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

// The tree control: dotted lines with expand buttons when the template asks for lines, a
// horizontal scroll bar for long names, a click on an empty part that keeps the selection,
// and every double-click, also on an empty part, reported to its dialog.
class VarnokTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit VarnokTreeWidget(QWidget* parent);
    void setLines(bool lines) { m_lines = lines; }
signals:
    void doubleClickedAnywhere();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    bool m_lines = false;
    bool m_pressOnEmpty = false;
};

// The text a label shows: a label one line high shows its text on one line, shortened in
// the middle when it is too long, so that both ends of a path stay readable.
QString AfxShownLabelText(const QLabel* label);
