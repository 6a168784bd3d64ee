// Writes the copy result list file beside a copy.
#pragma once

#include <string>

#include "file_system.h"
#include "result_list/list_header.h"
#include "result_list/result_entries.h"
#include "startup/run_state.h"

// Writes the list of `table` to listPath (UTF-16LE with its byte-order mark,
// CR LF line ends), sorting the table. The list is written whole under a
// fresh name beside it and then replaces any file of that name.
// Sets listWriting when it starts. listFailed is set when the list stops on
// Cancel ("Creation was aborted!" is then its last line), and also when the
// file cannot be opened or written, so that the run does not report a list
// that is missing or cut short as made. destinationPath is the copy (with
// DirTree 2 the source). A read-only old list is replaced too.
void WriteCopyResultList(const std::wstring& listPath, const std::wstring& destinationPath, ResultEntryTable& table,
                         const ListHeader& header, SharedRunState& shared, FileSystem& files = SystemFileSystem());
