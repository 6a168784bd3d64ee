// Answers the message boxes of the code under test and keeps what they
// showed, for as long as the object lives; the language is English again
// when it ends.
#pragma once

#include <string>
#include <vector>

#include "message_box.h"

class MessageCapture {
public:
    MessageCapture() {
        SetMessageBoxHook([this](const MessageRequest& request) {
            boxes.push_back(request);
            texts.push_back(request.text);
            return answer;
        });
    }
    ~MessageCapture() {
        SetMessageBoxHook({});
        SetJapanese(false);
    }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<MessageRequest> boxes;
    std::vector<std::wstring> texts;
    int answer = IDOK;  // what every box answers
};
