#pragma once

#include "shell/MessagePresenter.h"

#include <vector>

namespace mirel::test {

// Records every box instead of showing it and answers with a fixed button.
class RecordingPresenter : public MessagePresenter
{
public:
    explicit RecordingPresenter(MessageBoxAnswer answer = mbaOk) : m_answer(answer) {}

    MessageBoxAnswer present(const MessageBoxRequest &request) override
    {
        boxes.push_back(request);
        return m_answer;
    }

    std::vector<MessageBoxRequest> boxes;

private:
    MessageBoxAnswer m_answer;
};

} // namespace mirel::test
