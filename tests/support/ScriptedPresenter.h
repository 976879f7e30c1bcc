// A message-box presenter for tests: answers from a queue and records every box.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/AfxMessageBox.h"

class ScriptedPresenter : public MessagePresenter {
public:
    struct Box {
        std::string text;
        UINT type;
        std::string caption;
        int waitDepth;  // the wait cursor's depth while the box was up
    };

    ScriptedPresenter();
    ~ScriptedPresenter() override;

    // Answers in order; when the queue is empty every box is answered with fallback.
    void Answer(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }
    void SetFallback(int answer) { m_fallback = answer; }
    int Show(const CString& text, UINT nType, const CString& caption) override;

    std::vector<Box> boxes;
    // Runs while a box is up, before it is answered: what the user or others do meanwhile.
    std::function<void(const std::string& text)> whileShown;

private:
    std::deque<int> m_answers;
    int m_fallback = IDNO;
    MessagePresenter* m_previous;
};
