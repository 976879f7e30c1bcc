#include "framework/ModelDialogWindow.h"

ModelDialogWindow::ModelDialogWindow(CDialog& owner, const DialogTemplate& tmpl, ShowHandler onShow)
    : m_owner(owner), m_tmpl(tmpl), m_onShow(std::move(onShow)) {
    for (const DialogControl& c : tmpl.controls) {
        if (c.id == -1) continue;
        Control& control = m_controls[c.id];
        control.kind = c.kind;
        if (c.kind != ControlKind::Icon) control.text = c.text;
        if (c.kind == ControlKind::TreeView) control.tree = std::make_unique<ModelTreeCtrl>();
        // The first tab stop takes the focus, as when a dialog is created.
        if (m_focusId == 0 && (c.style & WS_TABSTOP)) m_focusId = c.id;
    }
}

ModelDialogWindow::~ModelDialogWindow() = default;

ModelDialogWindow::Control* ModelDialogWindow::Find(int id) {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

const ModelDialogWindow::Control* ModelDialogWindow::Find(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

CString ModelDialogWindow::GetItemText(int id) const {
    const Control* c = Find(id);
    return c ? c->text : CString();
}

void ModelDialogWindow::SetItemText(int id, const CString& text) {
    // A text set by the program is kept whole, also past the typing limit.
    if (Control* c = Find(id)) c->text = text;
}

int ModelDialogWindow::GetCheck(int id) const {
    const Control* c = Find(id);
    return c && c->kind == ControlKind::CheckBox ? c->check : 0;
}

void ModelDialogWindow::SetCheck(int id, int state) {
    if (Control* c = Find(id); c && c->kind == ControlKind::CheckBox) c->check = state;
}

void ModelDialogWindow::LimitText(int id, int nChars) {
    if (Control* c = Find(id); c && c->kind == ControlKind::Edit) c->limit = nChars;
}

int ModelDialogWindow::GetTextLimit(int id) const {
    const Control* c = Find(id);
    return c ? c->limit : 0;
}

void ModelDialogWindow::TypeText(int id, const CString& text) {
    Control* c = Find(id);
    if (!c || c->kind != ControlKind::Edit) return;
    if (c->limit > 0 && text.GetLength() > c->limit && text.GetLength() > c->text.GetLength()) return;
    c->text = text;
}

void ModelDialogWindow::FocusAndSelectAll(int id) {
    if (Find(id)) m_focusId = id;
}

HWND ModelDialogWindow::GetItemHandle(int id) const { return reinterpret_cast<HWND>(const_cast<Control*>(Find(id))); }

void ModelDialogWindow::SetButtonBitmap(int id, int bitmapId) {
    if (Control* c = Find(id); c && c->kind == ControlKind::PushButton) c->bitmap = bitmapId;
}

int ModelDialogWindow::GetButtonBitmap(int id) const {
    const Control* c = Find(id);
    return c ? c->bitmap : 0;
}

CTreeCtrl* ModelDialogWindow::GetTree(int id) {
    Control* c = Find(id);
    return c ? c->tree.get() : nullptr;
}

int ModelDialogWindow::RunModal() {
    if (m_ended) return m_result;  // ended while it initialised
    if (!m_onShow) return IDCANCEL;
    m_shown = true;
    const int result = m_onShow(*this);
    m_shown = false;
    return result;
}

void ModelDialogWindow::EndDialog(int result) {
    m_result = result;
    m_ended = true;
}
