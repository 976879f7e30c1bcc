#pragma once
#include "framework/CWinApp.h"

class FileSystem;

class CVarnokApp : public CWinApp {
public:
    // fs: what the main window works on; nullptr for the platform's file system.
    explicit CVarnokApp(FileSystem* fs = nullptr) : m_pFileSystem(fs) {}
    BOOL InitInstance() override;

private:
    FileSystem* m_pFileSystem;
};
