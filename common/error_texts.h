// Texts for platform result codes, in the current language.
#pragma once

#include <cstdint>
#include <string>

// "0x%08x:<system text>" for a platform error number; the empty text for 0.
// When the system has no text for the number, a short fallback names it.
std::wstring SystemErrorText(std::uint32_t errorNumber);

// Result codes of folder creation (0 gives the empty text; codes without a
// row of their own fall back to SystemErrorText).
std::wstring DirectoryErrorText(int code);

// Result codes of the shell's file operation (0 gives the empty text).
std::wstring ShellOperationErrorText(int code);
