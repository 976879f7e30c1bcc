#include "app/VarnokApp.h"
#include "framework/CWinApp.h"
#include "platform/FileSystem.h"
#include "ui/resources/Templates.h"

// The one application object, as the framework expects it.
CVarnokApp theApp;

int main(int argc, char** argv) {
    RegisterVarnokResources();
    theApp.m_strOptionMarkers = CreatePlatformFileSystem()->OptionMarkers();
    return AfxWinMain(argc, argv, theApp);
}
