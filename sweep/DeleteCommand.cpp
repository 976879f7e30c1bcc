// The Delete button: confirm, split the file type, sweep the selected folder.
#include "framework/AfxMessageBox.h"
#include "framework/WaitCursor.h"
#include "sweep/Age.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

void CVarnokDlg::OnDelete() {
    HTREEITEM hItem = m_pTree ? m_pTree->GetSelectedItem() : nullptr;
    if (!hItem || IsRootGroup(hItem)) {
        AfxMessageBox("Cannot continue, please select a valid disk/directory", MB_ICONERROR | MB_OK);
        return;
    }

    BeginWaitCursor();

    // A refused exchange (an age over 4 characters from the command line) has shown its
    // message; sweeping on would use a file type and read-only setting the window may not
    // show, so the command stops here.
    if (!UpdateData(TRUE)) {
        EndWaitCursor();
        return;
    }

    const CString strDays = GetDlgItemText(IDC_DAYS);
    const int nDays = AgeFromText(strDays);

    // Unattended, an age with no number in it would make every matching file old, with
    // nobody asked: refused as the framework refuses a field. The window shows the cutoff
    // in its confirmation instead.
    if (m_bQuiet && !AgeTextHoldsNumber(strDays)) {
        AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION | MB_OK);
        EndWaitCursor();
        return;
    }

    if (!m_bQuiet) {
        const CTime cutoff = CutoffFor(m_fs.GetCurrentTime(), nDays);
        if (AfxMessageBox("Are you sure you wish to delete files older than " + TimeText(cutoff),
                          MB_ICONQUESTION | MB_YESNO) != IDYES) {
            EndWaitCursor();
            return;
        }
    }

    SplitFileType();
    const CString strItemPath = GetItemPath(hItem);
    SetDlgItemText(IDC_STATUS, strItemPath + m_strFileType);

    SweepFolder(strItemPath + "*.*", nDays, m_bPrompt != 0, m_bSubDirs != 0, m_bLastAccess != 0, m_bDeleteDirs != 0);

    if (m_bDeleteDirs && m_pTree->ItemHasChildren(hItem)) RefreshItem(hItem);

    EndWaitCursor();
}
