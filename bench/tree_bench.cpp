// Reading a folder of many sub-folders into the tree (a double-click, and F5), and the time
// from creating the main window to its being shown. Usage: tree_bench [counts...]
// (100000 200000 by default; the ratios are to the first count).
#include <sys/stat.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/qt/QtApplication.h"
#include "framework/qt/QtDialogWindow.h"
#include "ui/VarnokDlg.h"
#include "ui/resources/Templates.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct ReadTimes {
    double read;     // a double-click on the unread folder
    double refresh;  // F5 on it: its items removed, then read again
};

// Reading a folder that holds n sub-folders into the tree, median of three rounds.
ReadTimes ReadFolder(int n) {
    const std::string root = "/tmp/varnok-tree-bench-" + std::to_string(n);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    for (int i = 0; i < n; ++i) ::mkdir((root + "/folder" + std::to_string(i * 7919 % n)).c_str(), 0700);
    std::vector<double> reads, refreshes;
    for (int round = 0; round < 3; ++round) {
        CVarnokDlg dlg;
        dlg.m_strPath = root.c_str();
        dlg.m_bPathGiven = true;
        dlg.Create();  // selects the folder and reads it once: the listing is warm
        HTREEITEM item = dlg.m_pTree->GetSelectedItem();
        while (HTREEITEM child = dlg.m_pTree->GetChildItem(item)) dlg.m_pTree->DeleteItem(child);
        QApplication::processEvents();

        auto start = std::chrono::steady_clock::now();
        LRESULT result = 0;
        dlg.OnDblclkFolders(nullptr, &result);  // reads it: it has no items
        dlg.m_pTree->Expand(item);              // then the tree opens it
        QApplication::processEvents();
        reads.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        dlg.RefreshItem(item);
        QApplication::processEvents();
        refreshes.push_back(Seconds(start));
    }
    std::filesystem::remove_all(root);
    return {Median(reads), Median(refreshes)};
}
}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    RegisterVarnokResources();
    AfxInstallQtServices();

    std::vector<double> startup;
    for (int i = 0; i < 7; ++i) {
        auto start = std::chrono::steady_clock::now();
        CVarnokDlg dlg;
        dlg.Create();
        QDialog* d = AfxGetQDialog(dlg);
        d->show();
        if (!QTest::qWaitForWindowExposed(d)) return 1;
        startup.push_back(Seconds(start));
    }
    std::printf("window ready: median %.1f ms of %zu\n", Median(startup) * 1000, startup.size());

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {100000, 200000};
    ReadTimes first{};
    for (int n : counts) {
        const ReadTimes t = ReadFolder(n);
        std::printf("read %d sub-folders: %.3f s", n, t.read);
        if (first.read > 0) std::printf(" (%.2f times %d)", t.read / first.read, counts.front());
        std::printf("; F5 on them: %.3f s", t.refresh);
        if (first.refresh > 0) std::printf(" (%.2f times)", t.refresh / first.refresh);
        std::printf("\n");
        if (first.read == 0) first = t;
    }
    return 0;
}
