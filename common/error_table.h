// The two-language table of failure codes that the settings application shows
// for its own steps and for those of the elevation helper.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "step_trace.h"

struct ErrorMessage {
    std::int32_t code;
    std::wstring_view ja;
    std::wstring_view en;
};

// The table as stored (grouped by text, not in code order): 55 records.
std::span<const ErrorMessage> ErrorMessageTable();

// The text of a code in the current language; the empty text when the code
// has no record.
std::wstring_view LookupErrorMessage(std::int32_t code);

// Main text and detail text of a failure record: "CD:<code> <text>" (or the
// generic text for an unknown code) and " *0x<error>:<system text>" when a
// system error was recorded. The display text is main followed by detail.
struct ErrorTextParts {
    std::wstring main;
    std::wstring detail;
    std::wstring Display() const { return main + detail; }
};
ErrorTextParts ErrorText(const FailureRecord& record);
