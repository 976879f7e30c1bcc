#include "framework/qt/QtHelpEngine.h"

#include <chm_lib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWhatsThis>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "framework/qt/QtModal.h"

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

    std::string DefaultTopic() override {
        const std::string topic = SystemEntry(2);
        return topic.empty() ? "/index.html" : "/" + topic;
    }
    std::string Title() override { return SystemEntry(3); }
    std::string ContentsFile() override {
        const std::string name = SystemEntry(0);
        return name.empty() ? name : "/" + name;
    }

private:
    // An entry of the #SYSTEM object, a zero-terminated text: 0 the contents file, 2 the
    // default topic, 3 the title.
    std::string SystemEntry(unsigned wanted) {
        std::string sys;
        if (!Read("/#SYSTEM", sys)) return {};
        size_t pos = 4;  // version
        while (pos + 4 <= sys.size()) {
            const unsigned code = Le16(sys, pos);
            const size_t len = Le16(sys, pos + 2);
            pos += 4;
            if (pos + len > sys.size()) break;
            if (code == wanted) return std::string(sys.c_str() + pos, strnlen(sys.c_str() + pos, len));
            pos += len;
        }
        return {};
    }

    ChmLib& m_lib;
    chmFile* m_file;
};

// Beside the program, then where it is installed; never the current folder, where anyone
// may have left a file of that name for the help library to parse.
std::string FindHelpFile(const std::string& name) {
    namespace fs = std::filesystem;
    if (name.find('/') != std::string::npos) return name;
    std::error_code ec;
    std::vector<fs::path> places;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) places.push_back(exe.parent_path() / name);
    places.push_back(fs::path(VARNOK_HELP_DIR) / name);
    for (const fs::path& p : places)
        if (fs::is_regular_file(p, ec)) return p.string();
    return places.back().string();
}

// A topic's address without its leading slash, so that the contents and links compare.
QString TopicKey(const QUrl& url) {
    QString path = url.path();
    while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
    return url.hasFragment() ? path + QLatin1Char('#') + url.fragment() : path;
}

// Topics and the pictures in them are read from the help file.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(ChmFile& file, QWidget* parent) : QTextBrowser(parent), m_file(file) {
        setOpenLinks(true);
        setOpenExternalLinks(true);
    }
    QVariant loadResource(int type, const QUrl& name) override {
        std::string contents;
        if (name.scheme().isEmpty() && m_file.Read(name.path().toStdString(), contents))
            return QByteArray(contents.data(), static_cast<qsizetype>(contents.size()));
        return QTextBrowser::loadResource(type, name);
    }

private:
    ChmFile& m_file;
};

// The help window: Back and Forward above, the help file's contents beside the topic.
// Escape or the close button closes it.
class HelpViewer : public QWidget {
public:
    // A dialog-type window, so that the window manager keeps it with its owner.
    HelpViewer(std::unique_ptr<ChmFile> file, QWidget* owner)
        : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                             Qt::WindowCloseButtonHint),
          m_file(std::move(file)) {
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("HelpViewer"));
        const std::string title = m_file->Title();
        setWindowTitle(title.empty() ? QStringLiteral("Help") : QString::fromUtf8(title.c_str()));

        auto historyButton = [this](const QString& name, QStyle::StandardPixmap icon) {
            auto* button = new QToolButton(this);
            button->setObjectName(name);
            button->setText(name);
            button->setIcon(style()->standardIcon(icon));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setEnabled(false);
            return button;
        };
        auto* back = historyButton(QStringLiteral("Back"), QStyle::SP_ArrowBack);
        auto* forward = historyButton(QStringLiteral("Forward"), QStyle::SP_ArrowForward);

        m_contents = new QTreeWidget(this);
        m_contents->setObjectName(QStringLiteral("Contents"));
        m_contents->setHeaderHidden(true);
        m_browser = new HelpBrowser(*m_file, this);
        m_browser->setObjectName(QStringLiteral("Topic"));
        FillContents();

        auto* splitter = new QSplitter(this);
        splitter->addWidget(m_contents);
        splitter->addWidget(m_browser);
        splitter->setStretchFactor(1, 1);
        m_contents->resizeColumnToContents(0);
        const int contentsWidth = std::clamp(m_contents->columnWidth(0) + 12, 150, 240);
        splitter->setSizes({contentsWidth, 720 - contentsWidth});
        splitter->setChildrenCollapsible(false);
        if (m_contents->topLevelItemCount() == 0) m_contents->hide();

        auto* bar = new QHBoxLayout;
        bar->addWidget(back);
        bar->addWidget(forward);
        bar->addStretch(1);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addLayout(bar);
        layout->addWidget(splitter, 1);

        connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
        connect(forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
        connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
        connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { SelectContents(url); });
        connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
            if (!item) return;
            const QUrl url(item->data(0, Qt::UserRole).toString());
            if (!url.isEmpty() && TopicKey(url) != TopicKey(m_browser->source())) m_browser->setSource(url);
        });
        auto* backKey = new QShortcut(QKeySequence::Back, this);
        connect(backKey, &QShortcut::activated, m_browser, &QTextBrowser::backward);
        auto* forwardKey = new QShortcut(QKeySequence::Forward, this);
        connect(forwardKey, &QShortcut::activated, m_browser, &QTextBrowser::forward);

        resize(720, 520);
    }

    void ShowTopic(const std::string& topic) {
        m_browser->setSource(QUrl(QString::fromUtf8(topic.c_str())));
        if (isHidden()) show();
        if (isMinimized()) showNormal();
        raise();
        activateWindow();
        m_browser->setFocus();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    void FillContents() {
        const std::string name = m_file->ContentsFile();
        std::string hhc;
        if (name.empty() || !m_file->Read(name, hhc)) return;
        std::vector<QTreeWidgetItem*> parents;
        for (const ContentsEntry& e : ParseContents(hhc)) {
            auto* item = new QTreeWidgetItem;
            item->setText(0, QString::fromUtf8(e.name.c_str()));
            item->setData(0, Qt::UserRole, QString::fromUtf8(e.local.c_str()));
            const size_t level = std::min(static_cast<size_t>(e.level), parents.size());
            parents.resize(level);
            if (parents.empty())
                m_contents->addTopLevelItem(item);
            else
                parents.back()->addChild(item);
            parents.push_back(item);
        }
        m_contents->expandAll();
    }

    // The contents entry of the topic shown: the one with the same anchor, else the page's.
    void SelectContents(const QUrl& url) {
        const QString key = TopicKey(url);
        const QString page = key.section(QLatin1Char('#'), 0, 0);
        QTreeWidgetItem* best = nullptr;
        for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
            const QString local = TopicKey(QUrl((*it)->data(0, Qt::UserRole).toString()));
            if (local == key) {
                best = *it;
                break;
            }
            if (!best && local == page) best = *it;
        }
        const QSignalBlocker quiet(m_contents);
        m_contents->setCurrentItem(best);
        if (!best) m_contents->clearSelection();
    }

    std::unique_ptr<ChmFile> m_file;
    QTreeWidget* m_contents;
    HelpBrowser* m_browser;
};

class QtHelpEngine : public HelpEngine {
public:
    ~QtHelpEngine() override { CloseAll(); }

    HWND Invoke(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData) override {
        std::string file = pszFile ? pszFile : "";
        std::string topic;
        if (size_t sep = file.find("::"); sep != std::string::npos) {
            topic = file.substr(sep + 2);
            file = file.substr(0, sep);
        }
        if (uCommand == HH_DISPLAY_TOPIC) return DisplayTopic(hwndCaller, file, topic);
        if (uCommand == HH_CLOSE_ALL) {
            CloseAll();
            return nullptr;
        }
        if (uCommand == HH_TP_HELP_WM_HELP)
            return Popup(hwndCaller, file, topic, reinterpret_cast<const DWORD*>(dwData));
        return nullptr;
    }

private:
    HWND DisplayTopic(HWND hwndCaller, const std::string& name, std::string topic) {
        if (!m_viewer) {
            std::unique_ptr<ChmFile> chm = OpenChmFile(name);
            if (!chm) return nullptr;
            if (topic.empty()) topic = chm->DefaultTopic();
            // The viewer belongs to the program's main window, yet no modal dialog blocks it.
            auto* caller = reinterpret_cast<QWidget*>(hwndCaller);
            QWidget* owner = caller ? caller->window() : AfxQtMainWindow();
            m_viewer = new HelpViewer(std::move(chm), owner);
            AfxQtPlaceBeside(m_viewer, owner, 560);
        } else if (topic.empty()) {
            std::unique_ptr<ChmFile> chm = OpenChmFile(name);
            if (!chm) return nullptr;
            topic = chm->DefaultTopic();
        }
        m_viewer->ShowTopic(topic);
        return reinterpret_cast<HWND>(m_viewer.data());
    }

    void CloseAll() {
        QWhatsThis::hideText();
        delete m_viewer.data();
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

    QPointer<HelpViewer> m_viewer;  // gone when closed, or with its owner
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

namespace {
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The value of an attribute inside one tag, such as value="..." in <param ...>.
std::string Attribute(const std::string& tag, const std::string& name) {
    const std::string lower = Lower(tag);
    size_t pos = 0;
    while ((pos = lower.find(name, pos)) != std::string::npos) {
        size_t at = pos + name.size();
        const bool wordStart = pos == 0 || std::isspace(static_cast<unsigned char>(lower[pos - 1]));
        pos = at;
        while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
        if (!wordStart || at >= tag.size() || tag[at] != '=') continue;
        ++at;
        while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
        if (at >= tag.size()) return {};
        size_t end;
        if (tag[at] == '"' || tag[at] == '\'') {
            end = tag.find(tag[at], at + 1);
            ++at;
        } else {
            end = tag.find_first_of(" \t\r\n>", at);
        }
        if (end == std::string::npos) end = tag.size();
        return tag.substr(at, end - at);
    }
    return {};
}

std::string DecodeEntities(const std::string& s) {
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string out;
    for (size_t i = 0; i < s.size();) {
        bool replaced = false;
        if (s[i] == '&')
            for (const auto& [name, c] : entities)
                if (s.compare(i, std::strlen(name), name) == 0) {
                    out += c;
                    i += std::strlen(name);
                    replaced = true;
                    break;
                }
        if (!replaced) out += s[i++];
    }
    return out;
}
}  // namespace

// A sitemap: nested <UL> lists whose <OBJECT type="text/sitemap"> items carry the entry's
// Name and Local as <PARAM> tags. Anything else in the file is passed over.
std::vector<ContentsEntry> ParseContents(const std::string& hhc) {
    std::vector<ContentsEntry> entries;
    int depth = 0;
    bool inItem = false;
    ContentsEntry item;
    for (size_t pos = hhc.find('<'); pos != std::string::npos; pos = hhc.find('<', pos)) {
        size_t end = hhc.find('>', pos);
        if (end == std::string::npos) break;
        const std::string tag = hhc.substr(pos + 1, end - pos - 1);
        const std::string lower = Lower(tag);
        pos = end + 1;
        auto is = [&](const char* name) {
            const size_t n = std::strlen(name);
            return lower.compare(0, n, name) == 0 &&
                   (lower.size() == n || std::isspace(static_cast<unsigned char>(lower[n])) || lower[n] == '/');
        };
        if (is("ul")) {
            ++depth;
        } else if (is("/ul")) {
            depth = std::max(0, depth - 1);
        } else if (is("object") && Lower(Attribute(tag, "type")) == "text/sitemap") {
            inItem = true;
            item = ContentsEntry{std::max(0, depth - 1), {}, {}};
        } else if (inItem && is("param")) {
            const std::string name = Lower(Attribute(tag, "name"));
            if (name == "name" && item.name.empty()) item.name = DecodeEntities(Attribute(tag, "value"));
            if (name == "local" && item.local.empty()) item.local = DecodeEntities(Attribute(tag, "value"));
        } else if (inItem && is("/object")) {
            inItem = false;
            if (!item.name.empty()) entries.push_back(item);
        }
    }
    return entries;
}
