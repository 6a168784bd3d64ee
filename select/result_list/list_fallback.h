// The plain copy result list that the command interpreter writes when the
// entry table ran out of memory: the copied file's path, or the tree
// command's drawing of the copied folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Shows the folder browser starting at initialFolder and gives the chosen
// folder, or the empty text when the user chose none. The browser shows
// itself again while a typed folder name is invalid.
using FolderBrowser = std::function<std::wstring(std::wstring_view initialFolder)>;

struct CommandListRequest {
    std::wstring destinationPath;  // the copy (with DirTree 2 the source); a trailing "\" is dropped
    std::wstring listPath;         // the list file to write first
    std::wstring sourcePath;       // its name without extension names a list made elsewhere
    bool sourceIsFile = false;
    int dirTree = 1;
    int select = 1;
    std::wstring timeStamp;     // DateTimeStamp of the attempt
    std::wstring browseFolder;  // where the folder browser starts
};

// The command line: "echo" of the path for a single file, "tree" of the
// folder with DirTree 2 and Select 0 (nothing but folders), else "tree /f".
// The paths reach the command through the variables VARO_LIST_ITEM and
// VARO_LIST_FILE, which the interpreter expands once: a "%" in a path stays
// as it is instead of being expanded as a variable.
std::wstring ListCommandLine(bool sourceIsFile, int dirTree, int select);

// Warns that memory ran out, runs the command hidden and waits for it.
// While the list file is then missing, says so and asks for another folder
// (list "<folder>\<source name>_<time stamp>.txt", at most 259 characters)
// and runs the command again. Returns 0 when the list exists, -1 when the
// command cannot be started or no folder was chosen.
[[nodiscard]] int WriteResultListWithCommand(const CommandListRequest& request, const FolderBrowser& browse);
