#include "framework/qt/QtMessagePresenter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>

#include "framework/qt/QtModal.h"

namespace {
// The message's own line breaks are its only ones, as long as its longest line fits on the
// screen; a longer one is wrapped rather than cut off.
void KeepLineBreaks(QMessageBox& box, const QString& text) {
    QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 - 120 : 600;
    const QFontMetrics fm(box.font());
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (fm.horizontalAdvance(line) > room) return;
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<div style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</div>"));
}
}  // namespace

int QtMessagePresenter::Show(const CString& text, UINT nType, const CString& caption) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (nType & MB_ICONMASK) {
    case MB_ICONERROR: icon = QMessageBox::Critical; break;
    case MB_ICONQUESTION: icon = QMessageBox::Question; break;
    case MB_ICONEXCLAMATION: icon = QMessageBox::Warning; break;
    case MB_ICONINFORMATION: icon = QMessageBox::Information; break;
    default: break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MB_YESNOCANCEL: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    default: break;
    }
    // The box belongs to the window that asks: transient for it, centred on it.
    QWidget* owner = AfxQtActiveOwner() ? AfxQtActiveOwner() : QApplication::activeWindow();
    const QString message = QString::fromUtf8(text.str());
    QMessageBox box(icon, QString::fromUtf8(caption.str()), message, buttons, owner);
    KeepLineBreaks(box, message);
    switch (AfxQtRunModal(&box)) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}
