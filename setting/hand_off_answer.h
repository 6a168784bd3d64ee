// The settings application's side of the hand-off before a copy: put the
// answer into the copy tool's block, signal it, and wait until the copy tool
// has read it.
#pragma once

#include <string>

// Returns 0 once the copy tool has confirmed the answer or has gone, -1 when
// the answer could not be written (the step is recorded).
[[nodiscard]] int SendHandOffAnswer(const std::wstring& key, int answer);
