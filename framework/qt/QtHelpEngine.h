#pragma once
#include <memory>

#include "framework/HtmlHelp.h"

// The help engine on Qt: chmlib, loaded with dlopen; nullptr when it cannot be loaded.
std::unique_ptr<HelpEngine> LoadQtHelpEngine();
