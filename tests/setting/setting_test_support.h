// Shared helpers of the settings dialog's decision tests.
#pragma once

#include <string>
#include <string_view>

#include "checks/check_message.h"

// Both texts of a message as its box would show them.
void ExpectMessage(const CheckMessage& message, std::wstring_view ja, std::wstring_view en);
void ExpectFailure(const CheckResult& result, CheckedField field, std::wstring_view ja, std::wstring_view en);

// A stand-in for the shared character check: reports "? " for a question mark.
std::wstring FindQuestionMark(std::wstring_view text);
