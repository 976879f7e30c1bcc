// The main window through its real widgets under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "framework/HtmlHelp.h"
#include "framework/qt/QtDialogWindow.h"
#include "framework/qt/QtMessagePresenter.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "tests/support/TempDir.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"
#include "ui/resources/Templates.h"

namespace {

class MainDialog : public testing::Test {
protected:
    void Open(const std::string& path = "") {
        dlg = std::make_unique<CVarnokDlg>(nullptr, fs.get());
        dlg->m_strDays = "120";
        dlg->m_strFileType = "*.tmp";
        dlg->m_bPrompt = TRUE;
        if (!path.empty()) {
            dlg->m_strPath = path.c_str();
            dlg->m_bPathGiven = true;
        }
        dlg->Create();
        Show();
    }
    void Show() {
        QDialog* d = AfxGetQDialog(*dlg);
        d->show();
        QApplication::setActiveWindow(d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    }
    // The next control that Tab reaches.
    static QWidget* NextTabStop(QWidget* w) {
        for (QWidget* n = w->nextInFocusChain(); n != w; n = n->nextInFocusChain())
            if ((n->focusPolicy() & Qt::TabFocus) && n->isVisible() && n->isEnabled()) return n;
        return nullptr;
    }
    template <class T>
    T* Control(int id) {
        return qobject_cast<T*>(AfxGetControl(*dlg, id));
    }
    QTreeWidget* Tree() { return Control<QTreeWidget>(IDC_FOLDERS); }
    void DoubleClick(QTreeWidgetItem* item) {
        QTreeWidget* tree = Tree();
        QApplication::processEvents();  // the column takes its width from the names
        tree->scrollToItem(item);
        const QRect r = tree->visualItemRect(item);
        const QPoint p(r.left() + 4, r.center().y());  // on the name's start, which shows
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, p);
    }
    QTreeWidgetItem* Find(QTreeWidgetItem* parent, const QString& text) {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text) return parent->child(i);
        return nullptr;
    }

    // A small tree: one drive C:\\ of the in-memory file system.
    MemoryFileSystem* UseMemoryDrive() {
        auto memory = std::make_unique<MemoryFileSystem>();
        memory->AddDrive('C');
        MemoryFileSystem* raw = memory.get();
        fs = std::move(memory);
        return raw;
    }

    std::unique_ptr<FileSystem> fs = CreatePlatformFileSystem();
    std::unique_ptr<CVarnokDlg> dlg;
    ScriptedPresenter boxes;
};

TEST_F(MainDialog, ControlsStandAtTheirTemplatePlacesInTabOrder) {
    Open();
    QDialog* d = AfxGetQDialog(*dlg);
    EXPECT_EQ(d->windowTitle(), "Varnok");
    EXPECT_FALSE(d->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(d->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(d->windowFlags() & Qt::WindowContextHelpButtonHint);
    const QSize base = DialogBaseUnits(d->font());
    EXPECT_GT(base.width(), 3);
    EXPECT_GT(base.height(), 8);
    EXPECT_EQ(d->size(), QSize((268 * base.width() + 2) / 4, (175 * base.height() + 4) / 8));

    const char* const kinds[] = {"QTreeWidget", "QLineEdit", "QCheckBox", "QPushButton", "QLabel", "QLabel"};
    QWidget* previous = nullptr;
    for (const DialogControl& c : kMainTemplate.controls) {
        SCOPED_TRACE(c.name);
        QWidget* w = AfxGetControl(*dlg, c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), c.name);
        EXPECT_TRUE(w->inherits(kinds[static_cast<int>(c.kind)]));
        EXPECT_EQ(w->geometry(), QRect((c.x * base.width() + 2) / 4, (c.y * base.height() + 4) / 8,
                                       (c.cx * base.width() + 2) / 4, (c.cy * base.height() + 4) / 8));
        if (c.kind == ControlKind::CheckBox) {
            EXPECT_EQ(static_cast<QCheckBox*>(w)->text(), c.text);
        }
        if (c.kind == ControlKind::Label && c.id != IDC_STATUS) {
            EXPECT_EQ(static_cast<QLabel*>(w)->text(), c.text);
        }
        if (c.style & WS_TABSTOP) {
            if (previous) {
                EXPECT_EQ(NextTabStop(previous), w);
            }
            previous = w;
        } else {
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
        }
    }
    EXPECT_EQ(Control<QLabel>(IDC_VERSION)->text(), "Varnok Version 1.4");
    EXPECT_TRUE(Control<QLabel>(IDC_DAYS_LABEL)->wordWrap());
    auto* button = Control<QPushButton>(IDC_DELETE);
    EXPECT_TRUE(button->isDefault());
    EXPECT_EQ(button->iconSize(), QSize(82, 55));
    EXPECT_EQ(button->shortcut(), QKeySequence("Alt+D"));
    EXPECT_FALSE(d->windowIcon().isNull());
    // Presets shown; tree focused, nothing selected.
    EXPECT_EQ(Control<QLineEdit>(IDC_DAYS)->text(), "120");
    EXPECT_EQ(Control<QLineEdit>(IDC_FILETYPE)->text(), "*.tmp");
    EXPECT_TRUE(Control<QCheckBox>(IDC_PROMPT)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(IDC_SUBDIRS)->isChecked());
    EXPECT_EQ(Control<QLabel>(IDC_STATUS)->text(), "");
    EXPECT_EQ(Tree()->topLevelItemCount(), 2);
    EXPECT_TRUE(Tree()->selectedItems().isEmpty());
}

TEST_F(MainDialog, DataExchangeBothWaysAndTheFourCharacterAge) {
    dlg = std::make_unique<CVarnokDlg>(nullptr, fs.get());
    dlg->m_strDays = "12345";  // only the command line can give this
    dlg->m_strFileType = "*.tmp";
    dlg->m_strPath = "bad\xff path";
    dlg->m_bSubDirs = 7;  // out of range: shown as clear
    dlg->m_bReadOnly = TRUE;
    dlg->Create();
    Show();
    QLineEdit* days = Control<QLineEdit>(IDC_DAYS);
    EXPECT_EQ(days->text(), "12345");
    EXPECT_FALSE(Control<QCheckBox>(IDC_SUBDIRS)->isChecked());
    EXPECT_EQ(dlg->m_bSubDirs, 0);

    // From the controls: the age is stored, then refused; later fields keep their values.
    Control<QLineEdit>(IDC_FILETYPE)->setText("*.bak");
    Control<QCheckBox>(IDC_READONLY)->setChecked(false);
    Control<QCheckBox>(IDC_LASTACCESS)->setChecked(true);
    EXPECT_FALSE(dlg->UpdateData(TRUE));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please enter no more than 4 characters.");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes.boxes[0].caption, "varnok");
    EXPECT_EQ(dlg->m_strDays.str(), "12345");
    EXPECT_EQ(dlg->m_bLastAccess, TRUE);
    EXPECT_EQ(dlg->m_strFileType.str(), "*.tmp");
    EXPECT_EQ(dlg->m_bReadOnly, TRUE);
    EXPECT_EQ(QApplication::focusWidget(), days);
    EXPECT_EQ(days->selectedText(), "12345");

    // Typing may shorten it but not lengthen it; at four characters the exchange is whole,
    // and the status line's bytes come back exactly.
    QTest::keyClick(days, Qt::Key_End);
    QTest::keyClick(days, Qt::Key_9);
    EXPECT_EQ(days->text(), "12345");
    QTest::keyClick(days, Qt::Key_Backspace);
    QTest::keyClick(days, Qt::Key_7);
    EXPECT_EQ(days->text(), "1234");
    EXPECT_TRUE(dlg->UpdateData(TRUE));
    EXPECT_EQ(dlg->m_strDays.str(), "1234");
    EXPECT_EQ(dlg->m_strFileType.str(), "*.bak");
    EXPECT_EQ(dlg->m_bReadOnly, FALSE);
    EXPECT_EQ(dlg->m_strPath.str(), "bad\xff path");
}

TEST_F(MainDialog, DoubleClickF5AndTheRootRefusal) {
    TempDir tmp;
    tmp.Folder("b/inner");
    tmp.Folder("A");
    tmp.File("file.tmp", 0);
    Open(tmp.path());
    QTreeWidgetItem* start = Tree()->selectedItems().value(0);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(dlg->GetItemPath(reinterpret_cast<HTREEITEM>(start)).str(), tmp.path() + "/");
    EXPECT_TRUE(start->isExpanded());
    ASSERT_EQ(start->childCount(), 2);
    EXPECT_EQ(start->child(0)->text(0), "A");
    EXPECT_EQ(start->child(1)->text(0), "b");

    // A double-click reads an unread folder and opens it; a second one closes it.
    QTreeWidgetItem* b = start->child(1);
    DoubleClick(b);
    EXPECT_EQ(b->childCount(), 1);
    EXPECT_TRUE(b->isExpanded());
    DoubleClick(b);
    EXPECT_FALSE(b->isExpanded());

    // F5 from the age box reads the tree's selection again.
    tmp.Folder("b/new");
    QLineEdit* days = Control<QLineEdit>(IDC_DAYS);
    days->setFocus();
    QTest::keyClick(days, Qt::Key_F5);
    EXPECT_EQ(b->childCount(), 2);
    EXPECT_EQ(days->text(), "120");

    // F5 on a root group: the refusal, and nothing else.
    QTreeWidgetItem* local = Tree()->topLevelItem(0);
    Tree()->setCurrentItem(local);
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_F5);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Cannot refresh root");
}

// A separator shows as a line across the middle of its place in the menu.
bool IsDrawn(QMenu* menu, QAction* separator) {
    const QRect r = menu->actionGeometry(separator);
    if (r.isEmpty()) return false;
    const QImage image = menu->grab().toImage();
    const QColor background = image.pixelColor(r.center().x(), r.top());
    int marked = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) marked += image.pixelColor(x, y) != background;
    return marked > r.width() / 2;
}

// Closes every menu and message box that comes up, recording what it showed: a menu as
// "menu:" and its entries ("-" for a separator that is drawn), a box as "box:" and its text.
class Watcher {
public:
    Watcher() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start();
    }
    QStringList seen;

private:
    void Look() {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QStringList entries;
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    entries << a->text();
                else if (IsDrawn(menu, a))
                    entries << QStringLiteral("-");
            seen << QStringLiteral("menu:") + entries.join(QLatin1Char('|'));
            menu->close();
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                seen << QStringLiteral("box:") + QTextDocumentFragment::fromHtml(box->text()).toPlainText();
                box->button(QMessageBox::Ok)->click();
            }
    }
    QTimer m_timer;
};

// Each key does its one thing once, from whichever control has the focus.
TEST_F(MainDialog, KeysReachTheDialogOnce) {
    struct Case {
        const char* name;
        int focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* shows;
    };
    const Case cases[] = {
        {"F5 on a root group, tree", IDC_FOLDERS, Qt::Key_F5, {}, "box:Cannot refresh root"},
        {"F5 on a root group, age box", IDC_DAYS, Qt::Key_F5, {}, "box:Cannot refresh root"},
        {"Shift+F10, tree", IDC_FOLDERS, Qt::Key_F10, Qt::ShiftModifier, "menu:-|&About varnok..."},
        {"Shift+F10, file type", IDC_FILETYPE, Qt::Key_F10, Qt::ShiftModifier, "menu:-|&About varnok..."},
        {"Menu key, Delete button", IDC_DELETE, Qt::Key_Menu, {}, "menu:-|&About varnok..."},
    };
    QtMessagePresenter real;
    MessagePresenter* scripted = AfxSetMessagePresenter(&real);
    Open();
    Tree()->topLevelItem(0)->setSelected(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Watcher watcher;
        QWidget* w = AfxGetControl(*dlg, c.focus);
        QApplication::setActiveWindow(AfxGetQDialog(*dlg));
        w->setFocus();
        QTest::keyClick(w, c.key, c.modifiers);
        QTest::qWait(30);
        EXPECT_EQ(watcher.seen, QStringList{c.shows});
    }
    AfxSetMessagePresenter(scripted);
}

// A click beside the items keeps the selection; a double-click there reads the selected item.
TEST_F(MainDialog, AClickBesideTheItemsKeepsTheSelection) {
    auto* memory = UseMemoryDrive();
    memory->AddFolder("C:\\Temp\\Sub");
    Open();
    QTreeWidgetItem* drive = Tree()->topLevelItem(0)->child(0);
    DoubleClick(drive);
    QTreeWidgetItem* temp = drive->child(0);
    ASSERT_NE(temp, nullptr);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(temp).topLeft() + QPoint(4, 4));
    const QPoint empty(5, Tree()->viewport()->height() - 5);
    ASSERT_EQ(Tree()->itemAt(empty), nullptr);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(Tree()->selectedItems(), QList<QTreeWidgetItem*>{temp});
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(Tree()->selectedItems(), QList<QTreeWidgetItem*>{temp});
    EXPECT_EQ(temp->childCount(), 1);
}

// The status line keeps to one line and shows both ends of a long path; a message box
// breaks its text only where the text does.
TEST_F(MainDialog, LongTextsKeepTheirLines) {
    Open();
    std::string path = "/srv";
    for (int i = 0; i < 20; ++i) path += "/folder" + std::to_string(i);
    path += "/*.tmp";
    dlg->SetDlgItemText(IDC_STATUS, path.c_str());
    auto* status = Control<QLabel>(IDC_STATUS);
    const QString shown = AfxShownLabelText(status);
    EXPECT_TRUE(shown.startsWith("/srv/folder0/")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("/*.tmp")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(status->fontMetrics().horizontalAdvance(shown), status->contentsRect().width());
    EXPECT_EQ(dlg->GetDlgItemText(IDC_STATUS).str(), path);  // the exchange reads it whole

    QtMessagePresenter real;
    const CString question = "Are you sure you wish to delete files older than Fri Dec 11 08:00:00 2026\n";
    int labelWidth = 0, lineWidth = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                labelWidth = label->width();
                lineWidth = label->fontMetrics().horizontalAdvance(QString::fromUtf8(question.str().c_str()).trimmed());
                box->button(QMessageBox::No)->click();
            }
    });
    EXPECT_EQ(real.Show(question, MB_YESNO | MB_ICONQUESTION, "varnok"), IDNO);
    EXPECT_GE(labelWidth, lineWidth);
    EXPECT_GT(lineWidth, 0);
}

// Tabbing onto the bitmap button marks it; the tree draws its lines and scrolls sideways
// to long names.
TEST_F(MainDialog, FocusMarkTreeLinesAndSidewaysScrolling) {
    auto* memory = UseMemoryDrive();
    memory->AddFolder("C:\\Short\\Sub");
    memory->AddFolder("C:\\Tall");
    Open();
    auto* button = Control<QPushButton>(IDC_DELETE);
    Tree()->setFocus();
    const QImage plain = button->grab().toImage();
    button->setFocus();
    const QImage marked = button->grab().toImage();
    int changed = 0;  // along the dotted frame's top edge, over the bitmap
    const int y = 4 * marked.height() / button->height();
    for (int x = marked.width() / 4; x < marked.width() * 3 / 4; ++x)
        changed += marked.pixel(x, y) != plain.pixel(x, y);
    EXPECT_GT(changed, marked.width() / 8);

    // A dotted line runs down the branch column of the drive's first folder.
    QTreeWidgetItem* drive = Tree()->topLevelItem(0)->child(0);
    DoubleClick(drive);
    QTreeWidgetItem* child = drive->child(0);
    ASSERT_NE(child, nullptr);
    QApplication::processEvents();
    Tree()->scrollToItem(child);
    const QRect row = Tree()->visualItemRect(child);
    const QImage view = Tree()->viewport()->grab().toImage();
    const QColor base = Tree()->palette().color(QPalette::Base);
    int dots = 0;
    for (int x = row.left() - Tree()->indentation(); x < row.left(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            if (view.pixelColor(x, y) != base) ++dots;
    EXPECT_GT(dots, row.height() / 2);
    EXPECT_FALSE(Tree()->horizontalScrollBar()->isVisible());

    memory->AddFolder("C:\\" + std::string(120, 'n'));
    dlg->RefreshItem(reinterpret_cast<HTREEITEM>(drive));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Tree()->horizontalScrollBar()->isVisible(); }, 2000));
}

// Not a check: writes the pictures for the README when VARNOK_SCREENSHOT_DIR is set.
TEST_F(MainDialog, Screenshot) {
    const char* dir = std::getenv("VARNOK_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "VARNOK_SCREENSHOT_DIR not set";
    TempDir tmp;
    tmp.Folder("var/tmp/app/cache");
    tmp.Folder("var/tmp/app/logs");
    tmp.Folder("var/tmp/build");
    tmp.Folder("var/log");
    Open(tmp / "var/tmp/app");
    dlg->SetDlgItemText(IDC_STATUS, "/var/tmp/app/*.tmp");
    QTest::qWait(50);
    const QDir out(dir);
    EXPECT_TRUE(AfxGetQDialog(*dlg)->grab().save(out.filePath("main-window.png")));

    // The About box and the general question, each grabbed while it is up.
    auto grabWindow = [&](const QString& title, const char* file) {
        QTimer::singleShot(50, [&, title, file] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle() == title) {
                    EXPECT_TRUE(w->grab().save(out.filePath(file)));
                    if (auto* box = qobject_cast<QMessageBox*>(w))
                        box->button(QMessageBox::No)->click();
                    else
                        QTest::keyClick(w, Qt::Key_Escape);
                }
        });
    };
    grabWindow("About varnok", "about-box.png");
    dlg->OnSysCommand(IDM_ABOUTBOX, 0);
    QtMessagePresenter real;
    grabWindow("varnok", "question.png");
    real.Show("Are you sure you wish to delete files older than Thu Aug 13 09:10:00 2026\n", MB_YESNO | MB_ICONQUESTION,
              "varnok");

    // The help viewer on the window's topic.
    auto* viewer = reinterpret_cast<QWidget*>(HtmlHelpA(nullptr, VARNOK_CHM, HH_DISPLAY_TOPIC, 0));
    ASSERT_NE(viewer, nullptr);
    viewer->resize(720, 480);
    viewer->findChild<QTextBrowser*>("Topic")->setSource(QUrl("index.html#window"));
    QTest::qWait(50);
    EXPECT_TRUE(viewer->grab().save(out.filePath("help-viewer.png")));
    AfxCloseHelp();
}

}  // namespace
