// The main window held in memory until it is shown, then handed to the real Qt window:
// what the widgets show is what the dialog set before, and the dialog goes on working.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "framework/LazyDialogWindow.h"
#include "framework/qt/QtApplication.h"
#include "framework/qt/QtDialogWindow.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

std::unique_ptr<DialogWindow> LazyOverQt(CDialog& owner, const DialogTemplate& tmpl) {
    return std::make_unique<LazyDialogWindow>(owner, tmpl,
                                              [&owner, &tmpl] { return AfxCreateQtDialogWindow(owner, tmpl); });
}

// The factory is put back also when an assertion ends the test early.
struct LazyFactory {
    LazyFactory() : old(AfxSetDialogWindowFactory(&LazyOverQt)) {}
    ~LazyFactory() { AfxSetDialogWindowFactory(old); }
    DialogWindowFactory old;
};

TEST(LazyWindow, TheQtWindowShowsWhatTheDialogSetInMemory) {
    LazyFactory factory;
    ScriptedPresenter boxes;
    MemoryFileSystem fs;
    fs.AddDrive('C');
    for (const char* f : {"C:\\Temp\\b", "C:\\Temp\\Sub", "C:\\Temp\\A", "C:\\Windows"}) fs.AddFolder(f);
    CVarnokDlg dlg(nullptr, &fs);
    dlg.m_strDays = "12345";
    dlg.m_strFileType = "*.log";
    dlg.m_strPath = "C:\\Temp";
    dlg.m_bPathGiven = true;
    dlg.m_bPrompt = dlg.m_bReadOnly = TRUE;
    ASSERT_TRUE(dlg.Create());
    auto& lazy = dynamic_cast<LazyDialogWindow&>(*dlg.GetWindow());
    EXPECT_EQ(AfxGetQDialog(dlg), nullptr);  // nothing built yet
    EXPECT_FALSE(dlg.UpdateData(TRUE));      // the refusal moves the focus to the age box

    ASSERT_NE(lazy.Realize(), nullptr);
    QDialog* d = AfxGetQDialog(dlg);
    ASSERT_NE(d, nullptr);
    auto* days = qobject_cast<QLineEdit*>(AfxGetControl(dlg, IDC_DAYS));
    EXPECT_EQ(days->text(), "12345");
    EXPECT_EQ(qobject_cast<QLineEdit*>(AfxGetControl(dlg, IDC_FILETYPE))->text(), "*.log");
    EXPECT_EQ(qobject_cast<QLabel*>(AfxGetControl(dlg, IDC_STATUS))->text(), "C:\\Temp");
    EXPECT_TRUE(qobject_cast<QCheckBox*>(AfxGetControl(dlg, IDC_PROMPT))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(AfxGetControl(dlg, IDC_READONLY))->isChecked());
    EXPECT_FALSE(qobject_cast<QCheckBox*>(AfxGetControl(dlg, IDC_SUBDIRS))->isChecked());
    auto* button = qobject_cast<QPushButton*>(AfxGetControl(dlg, IDC_DELETE));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_TRUE(button->text().isEmpty());
    EXPECT_FALSE(d->windowIcon().isNull());

    auto* tree = qobject_cast<QTreeWidget*>(AfxGetControl(dlg, IDC_FOLDERS));
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* c = tree->topLevelItem(0)->child(0);
    ASSERT_NE(c, nullptr);
    QStringList level;
    for (int i = 0; i < c->childCount(); ++i) level << c->child(i)->text(0);
    EXPECT_EQ(level, QStringList({"Temp", "Windows"}));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded() && c->isExpanded() && c->child(0)->isExpanded());
    ASSERT_EQ(tree->selectedItems().size(), 1);
    EXPECT_EQ(tree->selectedItems().first(), c->child(0));
    EXPECT_EQ(c->child(0)->childCount(), 3);

    // Shown: the focus is on the age box, its text selected, and typing a fifth character
    // is still refused.
    d->show();
    QApplication::setActiveWindow(d);
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    EXPECT_EQ(QApplication::focusWidget(), days);
    EXPECT_EQ(days->selectedText(), "12345");
    QTest::keyClick(days, Qt::Key_End);
    QTest::keyClick(days, Qt::Key_Backspace);
    QTest::keyClick(days, Qt::Key_Backspace);
    QTest::keyClick(days, Qt::Key_6);
    QTest::keyClick(days, Qt::Key_7);
    EXPECT_EQ(days->text(), "1236");

    // The dialog reads the widgets now, through the tree handles it took in memory.
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strDays.str(), "1236");
    fs.AddFolder("C:\\Temp\\New");
    dlg.RefreshItem(dlg.m_pTree->GetSelectedItem());
    EXPECT_EQ(c->child(0)->childCount(), 4);
    EXPECT_EQ(dlg.GetItemPath(dlg.m_pTree->GetSelectedItem()).str(), "C:\\Temp\\");
    d->hide();
}

}  // namespace
