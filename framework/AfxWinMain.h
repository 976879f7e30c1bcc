// The framework's entry point, provided by the toolkit backend the build chose.
#pragma once
class CWinApp;

// Runs the application; returns the process's exit code after the main window closes.
int AfxWinMain(int argc, char** argv, CWinApp& app);
