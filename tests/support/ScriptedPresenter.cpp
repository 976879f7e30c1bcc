#include "tests/support/ScriptedPresenter.h"

#include "framework/WaitCursor.h"

ScriptedPresenter::ScriptedPresenter() : m_previous(AfxSetMessagePresenter(this)) {}
ScriptedPresenter::~ScriptedPresenter() { AfxSetMessagePresenter(m_previous); }

int ScriptedPresenter::Show(const CString& text, UINT nType, const CString& caption) {
    boxes.push_back({text.str(), nType, caption.str(), AfxGetWaitCursorDepth()});
    if (whileShown) whileShown(text.str());
    if (m_answers.empty()) return m_fallback;
    int a = m_answers.front();
    m_answers.pop_front();
    return a;
}
