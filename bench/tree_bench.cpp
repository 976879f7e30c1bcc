// Reading a folder of many sub-folders into the tree (a double-click), and the time from
// creating the main window to its being shown. Usage: tree_bench [counts...]
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

// Time of one double-click on a folder holding n sub-folders, median of three.
double ReadFolder(int n) {
    const std::string root = "/tmp/varnok-tree-bench-" + std::to_string(n);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    for (int i = 0; i < n; ++i) ::mkdir((root + "/folder" + std::to_string(i * 7919 % n)).c_str(), 0700);
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        CVarnokDlg dlg;
        dlg.m_strPath = root.c_str();
        dlg.m_bPathGiven = true;
        dlg.Create();  // selects the folder and reads it once
        HTREEITEM item = dlg.m_pTree->GetSelectedItem();
        dlg.RefreshItem(item);  // warm
        auto start = std::chrono::steady_clock::now();
        // What a double-click does on an unread item: read it, then the tree opens it.
        dlg.RefreshItem(item);
        dlg.m_pTree->Expand(item);
        QApplication::processEvents();
        times.push_back(Seconds(start));
    }
    std::filesystem::remove_all(root);
    return Median(times);
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
    double first = 0;
    for (int n : counts) {
        double t = ReadFolder(n);
        std::printf("read %d sub-folders: %.3f s", n, t);
        if (first > 0) std::printf("  (%.2f times the first)", t / first);
        std::printf("\n");
        if (first == 0) first = t;
    }
    return 0;
}
