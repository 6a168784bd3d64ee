// What the copy tool and the settings application agree on for the hand-off
// before a copy: the answer codes and the names of the two events beside the
// block (the block itself carries the base name).
#pragma once

#include <string>
#include <string_view>

// The longest base name the settings application accepts after "/k"; a
// longer one is refused by both sides rather than cut (a cut name would
// address objects that do not exist).
constexpr std::size_t kHandOffKeyMaxChars = 275;

// Answers of the settings application.
enum SettingsAppAnswerCode : int {
    kAnswerSaved = 0,        // settings saved to varo.ini: reload it
    kAnswerThisRunOnly = 1,  // use varo_tmp.ini for this run
    kAnswerCancelled = 2,    // copy nothing
};

// Signalled by the settings application once its answer is in the block.
inline std::wstring AnswerSetEventName(std::wstring_view baseName) {
    return std::wstring(baseName) + L"_KEY_SET_SET_WAIT";
}

// Signalled by the copy tool once it has read the answer.
inline std::wstring AnswerGotEventName(std::wstring_view baseName) {
    return std::wstring(baseName) + L"_KEY_SEL_GET_WAIT";
}
