#include "framework/qt/QtHelpEngine.h"

std::unique_ptr<HelpEngine> LoadQtHelpEngine() { return nullptr; }
