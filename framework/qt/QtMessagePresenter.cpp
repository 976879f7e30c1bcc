#include "framework/qt/QtMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

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
    QMessageBox box(icon, QString::fromUtf8(caption.str()), QString::fromUtf8(text.str()), buttons,
                    QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}
