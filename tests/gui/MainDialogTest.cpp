// The main window through its real widgets under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "framework/qt/QtDialogWindow.h"
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
        tree->scrollToItem(item);
        const QPoint p = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, p);
    }
    QTreeWidgetItem* Find(QTreeWidgetItem* parent, const QString& text) {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text) return parent->child(i);
        return nullptr;
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

TEST_F(MainDialog, ContextMenuEndsWithTheAboutEntry) {
    Open();
    QDialog* d = AfxGetQDialog(*dlg);
    QStringList entries;  // "-" for a separator
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions()) entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
        menu->close();
    });
    QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(5, 5), d->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(d, &e);
    EXPECT_EQ(entries, QStringList({"-", "&About varnok..."}));
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
    EXPECT_TRUE(AfxGetQDialog(*dlg)->grab().save(QDir(dir).filePath("main-window.png")));
}

}  // namespace
