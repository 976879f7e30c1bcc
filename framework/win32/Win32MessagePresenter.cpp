#include "framework/win32/Win32MessagePresenter.h"

#include "framework/win32/Win32Api.h"

int Win32MessagePresenter::Show(const CString& text, UINT nType, const CString& caption) {
    // The framework's button, icon and result values are Windows' own.
    return Win32MessageBox(text.str(), caption.str(), nType & (MB_TYPEMASK | MB_ICONMASK));
}
