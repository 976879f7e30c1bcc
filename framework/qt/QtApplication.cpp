// The framework's entry point on Qt, without Qt: the toolkit lives in a module of its own
// (framework/qt/QtToolkit.cpp, built as libvarnok-qt.so) that is loaded on first need, when
// the window must be shown or a message box on a display. A run that shows nothing and asks
// nothing (most quiet runs) then starts as fast as a command-line tool: loading the toolkit
// alone costs several times what the whole run does.
#include "framework/qt/QtApplication.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "framework/LazyDialogWindow.h"

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

// Found out on first need: a run that never asks never probes the display. Tests, which
// start no AfxWinMain, say it with AfxSetNoDisplay.
bool g_displayKnown = true;
std::string g_programPath;
void* g_toolkit = nullptr;  // the module, once loaded
bool g_toolkitTried = false;
DialogWindowFactory g_toolkitWindows = nullptr;

void FindOutDisplay() {
    if (g_displayKnown) return;
    g_displayKnown = true;
    g_noDisplay = DetectNoDisplay();
    if (g_noDisplay) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        unsetenv("DISPLAY");  // nothing may try the display that failed again
        unsetenv("WAYLAND_DISPLAY");
    }
}

// Beside the executable (the build folder), else where it is installed, relative to the
// executable's folder (links in its path followed).
std::string ToolkitModulePath() {
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return std::string();  // never a bare name: that would search LD_LIBRARY_PATH
    std::string folder(exe, static_cast<size_t>(n));
    folder = folder.substr(0, folder.rfind('/') + 1);
    const std::string beside = folder + "libvarnok-qt.so";
    if (::access(beside.c_str(), R_OK) == 0) return beside;
    return folder + VARNOK_MODULE_RELDIR "/libvarnok-qt.so";
}

// Loads the toolkit module and starts the toolkit once; false when it cannot be loaded.
bool StartToolkit() {
    if (g_toolkitTried) return g_toolkit != nullptr;
    g_toolkitTried = true;
    FindOutDisplay();
    const std::string path = ToolkitModulePath();
    void* module = path.empty() ? nullptr : ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    using Start = void (*)(const char* programPath);
    auto start = module ? reinterpret_cast<Start>(::dlsym(module, "VarnokStartQt")) : nullptr;
    if (!start) {
        const char* why = path.empty() ? nullptr : ::dlerror();
        // Said on the console: without the toolkit there is no other way.
        ConsoleMessagePresenter().Show(
            ("cannot load the window toolkit: " + std::string(why ? why : "its module was not found")).c_str(),
            MB_OK | MB_ICONERROR, AfxGetAppName());
        return false;
    }
    g_toolkit = module;
    start(g_programPath.c_str());
    return true;
}

void StopToolkit() {
    if (!g_toolkit) return;
    using Stop = void (*)();
    if (auto stop = reinterpret_cast<Stop>(::dlsym(g_toolkit, "VarnokStopQt"))) stop();
}

// Message boxes before the toolkit runs: on the console without a display; with one, the
// toolkit starts and shows them as the window would.
class FirstNeedPresenter : public MessagePresenter {
public:
    int Show(const CString& text, UINT nType, const CString& caption) override {
        if (!AfxHasNoDisplay() && StartToolkit() && AfxGetMessagePresenter() != this)
            return AfxGetMessagePresenter()->Show(text, nType, caption);
        return m_console.Show(text, nType, caption);
    }
    CString Name(const CString& name) const override { return AfxHasNoDisplay() ? m_console.Name(name) : name; }

private:
    ConsoleMessagePresenter m_console;
};
}  // namespace

bool AfxHasNoDisplay() {
    FindOutDisplay();
    return g_noDisplay;
}
const char* AfxUnreachableDisplay() {
    FindOutDisplay();
    return g_unreachableDisplay.empty() ? nullptr : g_unreachableDisplay.c_str();
}
void AfxSetNoDisplay(bool noDisplay) {
    g_displayKnown = true;
    g_noDisplay = noDisplay;
}

void AfxSetToolkitWindowFactory(DialogWindowFactory factory) { g_toolkitWindows = factory; }

// Until the toolkit runs, a window is held in memory; it becomes the toolkit's window when
// it must be shown.
std::unique_ptr<DialogWindow> AfxCreateDialogWindow(CDialog& owner, const DialogTemplate& tmpl) {
    if (g_toolkitWindows) return g_toolkitWindows(owner, tmpl);
    return std::make_unique<LazyDialogWindow>(owner, tmpl, [&owner, &tmpl]() -> std::unique_ptr<DialogWindow> {
        if (!StartToolkit() || !g_toolkitWindows) AfxExitProcess(2);  // said why; a window it cannot show
        return g_toolkitWindows(owner, tmpl);
    });
}

int AfxWinMain(int argc, char** argv, CWinApp& app) {
    app.SetCommandLine(argc, argv);
    g_programPath = argc > 0 && argv[0] ? argv[0] : "varnok";
    g_displayKnown = false;
    static FirstNeedPresenter presenter;
    AfxSetMessagePresenter(&presenter);

    app.InitInstance();
    StopToolkit();
    return 0;
}
