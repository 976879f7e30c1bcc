#include "framework/qt/QtHelpEngine.h"

#include <chm_lib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <QApplication>
#include <QTextBrowser>
#include <QWhatsThis>
#include <QWidget>
#include <filesystem>
#include <sstream>

namespace {

// A little-endian 16-bit field of a help-file object.
unsigned Le16(const std::string& s, size_t pos) {
    return static_cast<unsigned char>(s[pos]) | static_cast<unsigned>(static_cast<unsigned char>(s[pos + 1])) << 8;
}

// chmlib's entry points, resolved once.
struct ChmLib {
    void* handle = nullptr;
    chmFile* (*open)(const char*) = nullptr;
    void (*close)(chmFile*) = nullptr;
    int (*resolve)(chmFile*, const char*, chmUnitInfo*) = nullptr;
    LONGINT64 (*retrieve)(chmFile*, chmUnitInfo*, unsigned char*, LONGUINT64, LONGINT64) = nullptr;

    static ChmLib* Get() {
        static ChmLib lib = Load();
        return lib.handle ? &lib : nullptr;
    }
    static ChmLib Load() {
        ChmLib l;
        l.handle = ::dlopen("libchm.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!l.handle) return l;
        l.open = reinterpret_cast<decltype(l.open)>(::dlsym(l.handle, "chm_open"));
        l.close = reinterpret_cast<decltype(l.close)>(::dlsym(l.handle, "chm_close"));
        l.resolve = reinterpret_cast<decltype(l.resolve)>(::dlsym(l.handle, "chm_resolve_object"));
        l.retrieve = reinterpret_cast<decltype(l.retrieve)>(::dlsym(l.handle, "chm_retrieve_object"));
        if (!l.open || !l.close || !l.resolve || !l.retrieve) l.handle = nullptr;
        return l;
    }
};

class ChmLibFile : public ChmFile {
public:
    ChmLibFile(ChmLib& lib, chmFile* file) : m_lib(lib), m_file(file) {}
    ~ChmLibFile() override { m_lib.close(m_file); }

    bool Read(const std::string& path, std::string& contents) override {
        chmUnitInfo ui;
        const std::string p = path.empty() || path[0] != '/' ? "/" + path : path;
        if (m_lib.resolve(m_file, p.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return false;
        contents.resize(static_cast<size_t>(ui.length));
        if (ui.length == 0) return true;
        LONGINT64 n = m_lib.retrieve(m_file, &ui, reinterpret_cast<unsigned char*>(contents.data()), 0,
                                     static_cast<LONGINT64>(ui.length));
        contents.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return n > 0;
    }

    // The #SYSTEM object holds the default topic as entry code 2.
    std::string DefaultTopic() override {
        std::string sys;
        if (Read("/#SYSTEM", sys)) {
            size_t pos = 4;  // version
            while (pos + 4 <= sys.size()) {
                const unsigned code = Le16(sys, pos);
                const size_t len = Le16(sys, pos + 2);
                pos += 4;
                if (pos + len > sys.size()) break;
                if (code == 2) {
                    std::string topic(1, '/');
                    topic.append(sys.c_str() + pos);  // a zero-terminated name
                    return topic;
                }
                pos += len;
            }
        }
        return "/index.html";
    }

private:
    ChmLib& m_lib;
    chmFile* m_file;
};

std::string FindHelpFile(const std::string& name) {
    namespace fs = std::filesystem;
    if (name.find('/') != std::string::npos) return name;
    std::error_code ec;
    std::vector<fs::path> places{fs::current_path(ec) / name};
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) places.push_back(exe.parent_path() / name);
    places.push_back(fs::path(VARNOK_HELP_DIR) / name);
    for (const fs::path& p : places)
        if (fs::is_regular_file(p, ec)) return p.string();
    return name;
}

// A topic window whose links are read from the same help file.
class HelpViewer : public QTextBrowser {
public:
    explicit HelpViewer(std::unique_ptr<ChmFile> file) : m_file(std::move(file)) {
        setWindowTitle(QStringLiteral("Varnok Help"));
        setOpenLinks(true);
        resize(640, 480);
    }
    QVariant loadResource(int type, const QUrl& name) override {
        std::string contents;
        if (name.scheme().isEmpty() && m_file->Read(name.path().toStdString(), contents))
            return QByteArray(contents.data(), static_cast<qsizetype>(contents.size()));
        return QTextBrowser::loadResource(type, name);
    }

private:
    std::unique_ptr<ChmFile> m_file;
};

class QtHelpEngine : public HelpEngine {
public:
    HWND Invoke(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData) override {
        std::string file = pszFile ? pszFile : "";
        std::string topic;
        if (size_t sep = file.find("::"); sep != std::string::npos) {
            topic = file.substr(sep + 2);
            file = file.substr(0, sep);
        }
        if (uCommand == HH_DISPLAY_TOPIC) return DisplayTopic(file, topic);
        if (uCommand == HH_TP_HELP_WM_HELP)
            return Popup(hwndCaller, file, topic, reinterpret_cast<const DWORD*>(dwData));
        return nullptr;
    }

private:
    HWND DisplayTopic(const std::string& name, std::string topic) {
        std::unique_ptr<ChmFile> chm = OpenChmFile(name);
        if (!chm) return nullptr;
        if (topic.empty()) topic = chm->DefaultTopic();
        m_viewer = std::make_unique<HelpViewer>(std::move(chm));
        m_viewer->setSource(QUrl(QString::fromStdString(topic)));
        m_viewer->show();
        m_viewer->raise();
        return reinterpret_cast<HWND>(m_viewer.get());
    }

    HWND Popup(HWND hwndCaller, const std::string& name, const std::string& topic, const DWORD* ids) {
        auto* control = reinterpret_cast<QWidget*>(hwndCaller);
        if (!control || !ids) return nullptr;
        const QVariant id = control->property("varnokControlId");
        if (!id.isValid()) return nullptr;
        DWORD helpId = 0;
        for (const DWORD* p = ids; p[0] != 0 || p[1] != 0; p += 2)
            if (p[0] == static_cast<DWORD>(id.toInt())) helpId = p[1];
        std::unique_ptr<ChmFile> chm = OpenChmFile(name);
        std::string text;
        if (!helpId || !chm || !chm->Read(topic, text)) return nullptr;
        const auto topics = ParsePopupTopics(text);
        auto it = topics.find(helpId);
        if (it == topics.end()) return nullptr;
        const QPoint beside = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
        QWhatsThis::showText(beside, QString::fromUtf8(it->second.c_str()), control);
        return hwndCaller;
    }

    std::unique_ptr<HelpViewer> m_viewer;
};

}  // namespace

std::unique_ptr<ChmFile> OpenChmFile(const std::string& name) {
    ChmLib* lib = ChmLib::Get();
    if (!lib) return nullptr;
    chmFile* f = lib->open(FindHelpFile(name).c_str());
    if (!f) return nullptr;
    return std::make_unique<ChmLibFile>(*lib, f);
}

std::map<unsigned, std::string> ParsePopupTopics(const std::string& text) {
    std::map<unsigned, std::string> topics;
    std::istringstream in(text);
    std::string line;
    unsigned current = 0;
    bool inTopic = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".topic", 0) == 0) {
            current = static_cast<unsigned>(std::stoul(line.substr(6), nullptr, 0));
            topics[current];
            inTopic = true;
        } else if (inTopic && !line.empty()) {
            std::string& t = topics[current];
            t += (t.empty() ? "" : " ") + line;
        }
    }
    return topics;
}

std::unique_ptr<HelpEngine> LoadQtHelpEngine() {
    if (!ChmLib::Get()) return nullptr;
    return std::make_unique<QtHelpEngine>();
}
