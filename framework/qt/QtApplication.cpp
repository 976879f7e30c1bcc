#include "framework/qt/QtApplication.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QUrl>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/WaitCursor.h"
#include "framework/qt/QtHelpEngine.h"
#include "framework/qt/QtMessagePresenter.h"

namespace {
bool g_noDisplay = false;
std::string g_unreachableDisplay;  // the display that was named but could not be opened

// Whether the X server DISPLAY names accepts us. The toolkit aborts the process when it
// cannot connect, so ask first, through the same library the toolkit's X support uses.
bool XDisplayOpens() {
    void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return false;  // then the toolkit's X support cannot load either
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    bool ok = false;
    if (connect && hasError && disconnect) {
        void* c = connect(nullptr, nullptr);
        ok = c && hasError(c) == 0;
        if (c) disconnect(c);  // also frees a connection in the error state
    }
    ::dlclose(xcb);
    return ok;
}

// Whether the Wayland compositor's socket accepts a connection.
bool WaylandDisplayOpens(const char* name) {
    std::string path = name;
    if (path.empty() || path[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime) return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un addr = {};
    if (path.size() >= sizeof addr.sun_path) return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

// No display: none named, or none of those named can be opened. A platform the user chose
// (QT_QPA_PLATFORM) is taken as it is.
bool DetectNoDisplay() {
    if (std::getenv("QT_QPA_PLATFORM")) return false;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (x && *x && XDisplayOpens()) return false;
    if (wayland && *wayland && WaylandDisplayOpens(wayland)) return false;
    if (x && *x)
        g_unreachableDisplay = x;
    else if (wayland && *wayland)
        g_unreachableDisplay = wayland;
    return true;
}

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
const char* AfxUnreachableDisplay() { return g_unreachableDisplay.empty() ? nullptr : g_unreachableDisplay.c_str(); }
void AfxSetNoDisplay(bool noDisplay) { g_noDisplay = noDisplay; }

void AfxInstallQtServices() {
    static QtMessagePresenter presenter;
    AfxSetMessagePresenter(g_noDisplay ? nullptr : &presenter);
    AfxSetWaitCursorHook(&QtWaitCursor);
    AfxSetUrlOpener(&QtOpenUrl);
    AfxSetHelpEngineLoader(&LoadQtHelpEngine);
}

int AfxWinMain(int argc, char** argv, CWinApp& app) {
    app.SetCommandLine(argc, argv);
    const bool noDisplay = DetectNoDisplay();
    if (noDisplay) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        unsetenv("DISPLAY");  // nothing may try the display that failed again
        unsetenv("WAYLAND_DISPLAY");
    }
    g_noDisplay = noDisplay;
    qInstallMessageHandler(&QuietMessageHandler);

    // Qt sees only the program's name: the arguments are Varnok's, not the toolkit's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication qapp(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    AfxInstallQtServices();

    app.InitInstance();
    return 0;
}
