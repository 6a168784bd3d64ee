// Writes the copy result list file beside a copy.
#pragma once

#include <string>

#include "result_list/list_header.h"
#include "result_list/result_entries.h"
#include "startup/run_state.h"

// Appends the list of `table` to listPath (UTF-16LE, CR LF line ends; the
// byte-order mark only when the file is new or empty), sorting the table.
// Sets ListWriting when it starts. ListFailed is set when the list stops on
// Cancel ("Creation was aborted!" is then its last line), and also when the
// file cannot be opened or written, so that the run does not report a list
// that is missing or cut short as made. destinationPath is the copy (with
// DirTree 2 the source).
void WriteCopyResultList(const std::wstring& listPath, const std::wstring& destinationPath, ResultEntryTable& table,
                         const ListHeader& header, SharedRunState& shared);
