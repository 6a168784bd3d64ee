// The barrier at the entry of every thread the programs start: whatever
// escapes the thread's work (an allocation that failed, anything thrown)
// becomes a failure its owner reports, never the silent end of the process
// that an exception leaving a thread would cause.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "text.h"

// What escaped, in words for the message that reports it.
inline std::wstring DescribeEscapedFailure() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return L"Out of memory.";
    } catch (const std::exception& failure) {
        const std::wstring text = Utf8ToWide(failure.what());
        return text.empty() ? L"Unexpected failure." : text;
    } catch (...) {
        return L"Unexpected failure.";
    }
}

// Runs work; if anything escapes it, hands its description to onFailure.
// Returns false in that case. onFailure must not throw; if it does anyway,
// that is swallowed too.
template <typename Work, typename OnFailure>
bool RunBehindBarrier(Work&& work, OnFailure&& onFailure) noexcept {
    try {
        work();
        return true;
    } catch (...) {
        try {
            onFailure(DescribeEscapedFailure());
        } catch (...) {
        }
        return false;
    }
}
