#pragma once
// A test fixture that answers every modal question the program asks through
// the modal seam: from a queue of answers the test sets, with hooks that
// see each question first, and a record of everything asked.

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ModalSeam.h"

namespace modal_answers {

class AnsweredTest : public ::testing::Test {
protected:
    void SetUp() override {
        answerer_ = std::make_unique<ScopedModalAnswerer>([this](const ModalInteraction& m) {
            asked.push_back(m);
            if (onAsk) onAsk(m);
            if (m.kind == ModalKind::fileDialog && onFileDialog) return onFileDialog(m);
            if (answers.empty()) return m.kind == ModalKind::messageBox ? unansweredMessageBox : IDCANCEL;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    // Derived fixtures end their windows first: they may still ask.
    void TearDown() override { answerer_.reset(); }

    std::vector<ModalInteraction> Asked(ModalKind kind) const {
        std::vector<ModalInteraction> found;
        for (const ModalInteraction& m : asked)
            if (m.kind == kind) found.push_back(m);
        return found;
    }
    std::vector<std::string> Questions(ModalKind kind) const {
        std::vector<std::string> texts;
        for (const ModalInteraction& m : Asked(kind)) texts.push_back(m.text);
        return texts;
    }
    int Count(ModalKind kind) const { return static_cast<int>(Asked(kind).size()); }

    std::vector<ModalInteraction> asked;
    // Taken in order; once empty, a message box gets unansweredMessageBox
    // and every other question Cancel.
    std::deque<int> answers;
    int unansweredMessageBox = IDNO;
    // Sees every question before it is answered.
    std::function<void(const ModalInteraction&)> onAsk;
    // Answers the file dialogs instead of the queue, when set.
    std::function<int(const ModalInteraction&)> onFileDialog;

private:
    std::unique_ptr<ScopedModalAnswerer> answerer_;
};

}  // namespace modal_answers
