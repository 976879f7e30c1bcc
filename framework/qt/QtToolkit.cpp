// The toolkit itself, built as the module libvarnok-qt.so that AfxWinMain loads on first
// need (and linked in whole into the tests): the application object and the Qt services.
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QIcon>
#include <QPixmap>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/WaitCursor.h"
#include "framework/qt/QtApplication.h"
#include "framework/qt/QtHelpEngine.h"
#include "framework/qt/QtMessagePresenter.h"

namespace {
// Qt's own diagnostics are for developers: they never reach a user's terminal or cron mail.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (std::getenv("VARNOK_QT_DEBUG")) fprintf(stderr, "qt(%d): %s\n", static_cast<int>(type), qPrintable(msg));
}

void QtWaitCursor(bool on) {
    if (!qApp) return;
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

bool QtOpenUrl(const char* url) { return QDesktopServices::openUrl(QUrl(QString::fromUtf8(url))); }

// Qt sees only the program's name: the arguments are Varnok's, not the toolkit's. It keeps
// a reference to them for its whole life.
std::string g_programPath;
int g_qtArgc = 1;
char* g_qtArgv[] = {nullptr, nullptr};
QApplication* g_app = nullptr;
}  // namespace

void AfxInstallQtServices() {
    static QtMessagePresenter presenter;
    AfxSetMessagePresenter(AfxHasNoDisplay() ? nullptr : &presenter);
    AfxSetWaitCursorHook(&QtWaitCursor);
    AfxSetUrlOpener(&QtOpenUrl);
    AfxSetHelpEngineLoader(&LoadQtHelpEngine);
    AfxSetToolkitWindowFactory(&AfxCreateQtDialogWindow);
    // Every window that does not set its own shows the program's icon.
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/varnok/icon128_16.png")));
    icon.addPixmap(QPixmap(QStringLiteral(":/varnok/icon128_32.png")));
    QApplication::setWindowIcon(icon);
}

// Called once by AfxWinMain, after the display was found out (QT_QPA_PLATFORM is set when
// there is none).
extern "C" void VarnokStartQt(const char* programPath) {
    qInstallMessageHandler(&QuietMessageHandler);
    g_programPath = programPath;
    g_qtArgv[0] = g_programPath.data();
    g_app = new QApplication(g_qtArgc, g_qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    AfxInstallQtServices();
    if (AfxGetWaitCursorDepth() > 0) QtWaitCursor(true);  // started in the middle of a wait
}

// At the end of AfxWinMain, as the application object of old went out of scope there.
extern "C" void VarnokStopQt() {
    AfxCloseHelp();  // the help windows go before the toolkit does
    delete g_app;
    g_app = nullptr;
}
