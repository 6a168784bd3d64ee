// The file names by which the programs start each other.
#pragma once

#include <string_view>

// The settings program, beside the copy tool in the program folder.
inline constexpr std::wstring_view kSettingProgramFile = L"VaroSetting.exe";
