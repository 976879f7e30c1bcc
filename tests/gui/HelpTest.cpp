// Context help, the About box and the help engine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/qt/QtDialogWindow.h"
#include "framework/qt/QtHelpEngine.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/AboutDlg.h"
#include "ui/HelpIds.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

struct Call {
    QWidget* caller;
    std::string file;
    UINT command;
    std::uintptr_t data;
};
std::vector<Call> g_calls;
int g_loads = 0;

class RecordingEngine : public HelpEngine {
public:
    HWND Invoke(HWND caller, const char* file, UINT command, std::uintptr_t data) override {
        g_calls.push_back({reinterpret_cast<QWidget*>(caller), file, command, data});
        return nullptr;
    }
};
std::unique_ptr<HelpEngine> LoadRecording() {
    ++g_loads;
    return std::make_unique<RecordingEngine>();
}
std::unique_ptr<HelpEngine> LoadNothing() {
    ++g_loads;
    return nullptr;
}
std::vector<std::string> g_opened;
bool RecordUrl(const char* url) {
    g_opened.push_back(url);
    return false;  // a failure shows nothing
}

class Help : public testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_opened.clear();
        g_loads = 0;
        AfxResetHelpEngine();
        AfxSetHelpEngineLoader(&LoadRecording);
    }
    void TearDown() override {
        AfxResetHelpEngine();
        AfxSetHelpEngineLoader(&LoadQtHelpEngine);
    }
    ScriptedPresenter boxes;
};

// A shown window by its title.
template <class T>
T* TopWindow(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title) return qobject_cast<T*>(w);
    return nullptr;
}

// The help number the engine finds for a control in the table it is given.
DWORD HelpNumberFor(const Call& c) {
    const int id = c.caller->property("varnokControlId").toInt();
    for (auto* p = reinterpret_cast<const DWORD*>(c.data); p[0] || p[1]; p += 2)
        if (p[0] == static_cast<DWORD>(id)) return p[1];
    return 0;
}

TEST_F(Help, F1AsksForTheFocusedControlsPopup) {
    CVarnokDlg dlg;
    dlg.Create();
    QDialog* d = AfxGetQDialog(dlg);
    d->show();
    QApplication::setActiveWindow(d);
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    for (auto [id, number] : {std::pair{IDC_FOLDERS, 0x806603E8u}, std::pair{IDC_DELETE, 0x806603ECu}}) {
        g_calls.clear();
        QWidget* w = AfxGetControl(dlg, id);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_F1);
        ASSERT_EQ(g_calls.size(), 1u);
        EXPECT_EQ(g_calls[0].caller, w);
        EXPECT_EQ(g_calls[0].file, "varnok.chm::/varnokpopups.txt");
        EXPECT_EQ(g_calls[0].command, HH_TP_HELP_WM_HELP);
        EXPECT_EQ(g_calls[0].data, reinterpret_cast<std::uintptr_t>(kHelpIds));
        EXPECT_EQ(HelpNumberFor(g_calls[0]), number);
    }
    const std::vector<DWORD> table(kHelpIds, kHelpIds + 26);
    EXPECT_EQ(table, (std::vector<DWORD>{1002, 0x806603EA, 1003, 0x806603EB, 1007, 0x806603EF, 1012, 0x806603F4,
                                         1008, 0x806603F0, 1000, 0x806603E8, 1006, 0x806603EE, 1001, 0x806603E9,
                                         1010, 0x806603F2, 1011, 0x806603F3, 1009, 0x806603F1, 1004, 0x806603EC,
                                         0,    0}));
}

TEST_F(Help, AboutBoxHelpButtonWebLinkAndF1) {
    CWinApp app;  // F1 in the About box reaches the application's Help command
    AfxSetUrlOpener(&RecordUrl);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = TopWindow<QDialog>("About varnok");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "About varnok");
        auto* help = box->findChild<QPushButton*>("IDC_ABOUT_HELP");
        ASSERT_NE(help, nullptr);
        help->click();
        help->click();
        EXPECT_EQ(g_calls.size(), 2u);
        EXPECT_EQ(g_calls[1].file, "varnok.chm");
        EXPECT_EQ(g_calls[1].command, HH_DISPLAY_TOPIC);
        EXPECT_TRUE(box->isVisible());  // the box stays open
        auto* link = box->findChild<QLabel*>("IDC_WEBLINK");
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->text(), "https://varnok.example.org");
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_EQ(g_opened, std::vector<std::string>{"https://varnok.example.org"});
        // F1 has no handler here: the application's Help command, the default topic.
        g_calls.clear();
        QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
        QApplication::setActiveWindow(box);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        EXPECT_EQ(g_calls.size(), 1u);
        if (!g_calls.empty()) {
            EXPECT_EQ(g_calls[0].command, HH_DISPLAY_TOPIC);
        }
        QTest::keyClick(box, Qt::Key_Escape);
        checked = true;
    });
    CVarnokDlg dlg;
    dlg.Create();
    dlg.OnSysCommand(IDM_ABOUTBOX, 0);
    EXPECT_TRUE(checked);
    AfxSetUrlOpener(nullptr);
}

TEST_F(Help, AnEngineThatCannotBeLoadedIsTriedOnce) {
    AfxSetHelpEngineLoader(&LoadNothing);
    EXPECT_EQ(HtmlHelpA(nullptr, "varnok.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(HtmlHelpA(nullptr, "varnok.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(g_loads, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Help, TheBuiltHelpFileHasEveryPopupAndItsTopics) {
    std::unique_ptr<ChmFile> chm = OpenChmFile(VARNOK_CHM);
    ASSERT_NE(chm, nullptr);
    std::string popups;
    ASSERT_TRUE(chm->Read("/varnokpopups.txt", popups));
    const auto topics = ParsePopupTopics(popups);
    for (const DWORD* p = kHelpIds; p[0] || p[1]; p += 2) {
        auto it = topics.find(p[1]);
        ASSERT_NE(it, topics.end()) << std::hex << p[1];
        EXPECT_GT(it->second.size(), 10u);
    }
    EXPECT_EQ(chm->DefaultTopic(), "/index.html");
}

// The window a user reads help in: the help file's contents beside the topic, links, Back
// and Forward, Escape.
TEST_F(Help, TheViewerShowsTheContentsFollowsLinksAndCloses) {
    AfxSetHelpEngineLoader(&LoadQtHelpEngine);
    QPointer<QWidget> viewer = reinterpret_cast<QWidget*>(HtmlHelpA(nullptr, VARNOK_CHM, HH_DISPLAY_TOPIC, 0));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Varnok Help");
    auto* topic = viewer->findChild<QTextBrowser*>("Topic");
    auto* contents = viewer->findChild<QTreeWidget*>("Contents");
    auto* back = viewer->findChild<QToolButton*>("Back");
    auto* forward = viewer->findChild<QToolButton*>("Forward");
    ASSERT_TRUE(topic && contents && back && forward);
    QStringList entries;  // one "-" a level
    for (QTreeWidgetItemIterator it(contents); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) ++depth;
        entries << QString(depth, QLatin1Char('-')) + (*it)->text(0);
    }
    EXPECT_EQ(entries, QStringList({"Varnok", "-The window", "-Links and mounted folders", "The command line",
                                    "-Unattended runs"}));
    EXPECT_EQ(contents->currentItem()->text(0), "Varnok");
    EXPECT_TRUE(topic->toPlainText().contains("Varnok deletes old files"));
    EXPECT_FALSE(back->isEnabled());

    // A contents entry opens its topic; a link in the topic (Tab to it, Enter) opens its page,
    // and the contents follow.
    contents->setCurrentItem(contents->topLevelItem(1)->child(0));
    EXPECT_EQ(topic->source().toString(), "commandline.html#unattended");
    topic->setFocus();
    QTest::keyClick(topic, Qt::Key_Tab);
    QTest::keyClick(topic, Qt::Key_Return);
    EXPECT_EQ(topic->source().path(), "index.html");
    EXPECT_EQ(contents->currentItem()->text(0), "Varnok");
    back->click();
    EXPECT_EQ(contents->currentItem()->text(0), "Unattended runs");
    EXPECT_TRUE(forward->isEnabled());
    forward->click();
    EXPECT_EQ(topic->source().path(), "index.html");

    // Another request reuses the window; Escape closes it.
    EXPECT_EQ(reinterpret_cast<QWidget*>(HtmlHelpA(nullptr, VARNOK_CHM, HH_DISPLAY_TOPIC, 0)), viewer.data());
    QTest::keyClick(topic, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());
}

TEST(HelpContents, ASitemapGivesItsEntriesWithTheirLevels) {
    const std::string hhc = R"(<HTML><BODY>
<OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>
<UL>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Start &amp; stop"><param name="Local" value="a.html"></OBJECT>
  <UL><li><object TYPE='text/sitemap'><PARAM NAME=Name VALUE="Inner"><param name="Local" value="a.html#x"></object></UL>
  <LI> <OBJECT type="text/sitemap"><param name="Local" value="nameless.html"></OBJECT>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Book only"></OBJECT>
</UL></BODY></HTML>)";
    EXPECT_EQ(ParseContents(hhc), (std::vector<ContentsEntry>{
                                      {0, "Start & stop", "a.html"}, {1, "Inner", "a.html#x"}, {0, "Book only", ""}}));
    EXPECT_TRUE(ParseContents("<ul><li><object type=\"text/sitemap\"><param name=\"Name\"").empty());
}

// Windows' modal loops: the About box blocks the main window, not the help viewer.
TEST_F(Help, TheViewerStaysUsableWhileTheDialogsAreModal) {
    AfxSetHelpEngineLoader(&LoadQtHelpEngine);
    CVarnokDlg dlg;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QDialog* main = AfxGetQDialog(dlg);
        QTimer::singleShot(0, [&, main] {
            auto* box = TopWindow<QDialog>("About varnok");
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), main);  // transient for the main window
            box->findChild<QPushButton*>("IDC_ABOUT_HELP")->click();
            QWidget* viewer = TopWindow<QWidget>("Varnok Help");
            ASSERT_NE(viewer, nullptr);
            EXPECT_EQ(viewer->parentWidget(), main);
            // The viewer takes the mouse and keys; the blocked main window takes neither.
            auto* contents = viewer->findChild<QTreeWidget*>("Contents");
            const QRect r = contents->visualItemRect(contents->topLevelItem(1));
            QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, r.center());
            EXPECT_EQ(viewer->findChild<QTextBrowser*>("Topic")->source().path(), "commandline.html");
            QTest::keyClick(main, Qt::Key_Escape);
            EXPECT_TRUE(main->isVisible());
            QTest::keyClick(viewer, Qt::Key_Escape);
            QTest::keyClick(box, Qt::Key_Escape);
            checked = true;
        });
        dlg.OnSysCommand(IDM_ABOUTBOX, 0);
        EXPECT_TRUE(main->isVisible());
        QTest::keyClick(main, Qt::Key_Escape);  // no longer blocked: ends the dialog
    });
    dlg.DoModal();
    EXPECT_TRUE(checked);
}

}  // namespace
