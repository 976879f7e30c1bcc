#pragma once
#include "framework/AfxMessageBox.h"

// Message boxes with MessageBoxW; the caption is the application's name.
class Win32MessagePresenter : public MessagePresenter {
public:
    int Show(const CString& text, UINT nType, const CString& caption) override;
};
