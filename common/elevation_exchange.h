// The exchange between the settings application and the elevation helper:
// the settings application creates the block and the event and starts the
// helper; the helper writes "status code error" into the block and waits
// until the settings application has read it.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "step_trace.h"

constexpr std::wstring_view kElevationBlockName = L"KESTREL_VA_RO_SHARE_KEY_DATA";
constexpr std::wstring_view kElevationEventName = L"KESTREL_VA_RO_EVENT_KEY_OK";
constexpr std::wstring_view kElevationProgram = L"VaroUAC.exe";

// What the helper is asked to do with the context-menu entries.
enum ContextMenuRequest : int {
    kRequestRemove = 0,
    kRequestRefresh = 1,  // register again only when the entries are present
    kRequestRegister = 2,
};

// Status of the helper's answer; travels as its number.
enum class ElevationStatus : int {
    NothingDone = 0,
    Done = 1,
    Failed = 2,
    NothingToRemove = 4,  // the entries to remove were not there
};

// The settings application reads the block this many times after the first
// read, this far apart (about three minutes in all).
constexpr int kAnswerExtraReads = 901;
constexpr DWORD kAnswerPollMs = 200;

struct ElevationAnswer {
    ElevationStatus status = ElevationStatus::NothingDone;
    FailureRecord failure;  // of the first step recorded with a failure code
    bool operator==(const ElevationAnswer& other) const {
        return status == other.status && failure.code == other.failure.code &&
               failure.systemError == other.failure.systemError;
    }
};

// "%d %d %d": status, failure code, system error.
std::wstring FormatElevationAnswer(const ElevationAnswer& answer);

// Splits at " "; a missing or unreadable number reads as 0. A status number
// that means none of the statuses reads as failed.
ElevationAnswer ParseElevationAnswer(std::wstring_view text);
