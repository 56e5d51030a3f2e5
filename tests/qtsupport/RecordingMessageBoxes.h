// A message box service for widget tests: records every box and answers
// with scripted results (IDOK, or the next queued answer).
#pragma once

#include "platform/MessageBox.h"

#include <QString>

#include <deque>
#include <vector>

struct ShownMessageBox {
    QString text;
    MsgIcon icon;
};

class RecordingMessageBoxes final : public MessageBoxService {
public:
    RecordingMessageBoxes() { SetMessageBoxService(this); }
    ~RecordingMessageBoxes() override { SetMessageBoxService(nullptr); }
    RecordingMessageBoxes(const RecordingMessageBoxes&) = delete;
    RecordingMessageBoxes& operator=(const RecordingMessageBoxes&) = delete;

    int Show(QWidget* /*owner*/, const QString& text, const QString& /*caption*/,
             MsgButtons buttons, MsgIcon icon) override {
        shown.push_back({text, icon});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MsgButtons::YesNo ? IDYES : IDOK;
    }

    // Texts of the boxes shown so far.
    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const auto& box : shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    std::vector<ShownMessageBox> shown;
    std::deque<int> answers;
};
