#pragma once

class CVarnokDlg;
class CVarnokCommandLineInfo;

// Copies the run options into the main window's members before it runs.
void PresetMainDialog(CVarnokDlg& dlg, const CVarnokCommandLineInfo& info);
