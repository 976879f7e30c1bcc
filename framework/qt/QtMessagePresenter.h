#pragma once
#include "framework/AfxMessageBox.h"

class QtMessagePresenter : public MessagePresenter {
public:
    int Show(const CString& text, UINT nType, const CString& caption) override;
};
