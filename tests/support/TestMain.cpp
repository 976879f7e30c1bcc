// One main for every test program: Qt's offscreen platform and the program's resources.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "framework/CWinApp.h"
#include "framework/qt/QtApplication.h"
#include "ui/resources/Templates.h"

namespace {
void QuietQt(QtMsgType, const QMessageLogContext&, const QString&) {}
}  // namespace

int main(int argc, char** argv) {
    // gtest_discover_tests runs us without the tests' environment.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(&QuietQt);
    testing::InitGoogleTest(&argc, argv);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    RegisterVarnokResources();
    AfxInstallQtServices();
    return RUN_ALL_TESTS();
}
