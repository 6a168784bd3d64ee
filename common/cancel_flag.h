// The stop flag that long work watches: none given means the work cannot be
// stopped.
#pragma once

#include <atomic>

inline bool IsCancelled(const std::atomic<bool>* flag) {
    return flag && flag->load();
}
