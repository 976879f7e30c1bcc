#include "framework/qt/QtApplication.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QIcon>
#include <QPixmap>
#include <QUrl>
#include <cstdlib>

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/WaitCursor.h"
#include "framework/qt/QtHelpEngine.h"
#include "framework/qt/QtMessagePresenter.h"

namespace {
bool g_noDisplay = false;

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
}  // namespace

bool AfxHasNoDisplay() { return g_noDisplay; }
void AfxSetNoDisplay(bool noDisplay) { g_noDisplay = noDisplay; }

void AfxInstallQtServices() {
    static QtMessagePresenter presenter;
    AfxSetMessagePresenter(g_noDisplay ? nullptr : &presenter);
    AfxSetWaitCursorHook(&QtWaitCursor);
    AfxSetUrlOpener(&QtOpenUrl);
    AfxSetHelpEngineLoader(&LoadQtHelpEngine);
    // Every window that does not set its own shows the program's icon.
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/varnok/icon128_16.png")));
    icon.addPixmap(QPixmap(QStringLiteral(":/varnok/icon128_32.png")));
    QApplication::setWindowIcon(icon);
}

int AfxWinMain(int argc, char** argv, CWinApp& app) {
    app.SetCommandLine(argc, argv);
    const bool noDisplay =
        !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM");
    if (noDisplay) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_noDisplay = noDisplay;
    qInstallMessageHandler(&QuietMessageHandler);

    // Qt sees only the program's name: the arguments are Varnok's, not the toolkit's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication qapp(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    AfxInstallQtServices();

    app.InitInstance();
    AfxCloseHelp();  // the help windows go before the toolkit does
    return 0;
}
