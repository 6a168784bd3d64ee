// The text of a copy result list: the head, the root line and the copied
// tree drawn with one line per file or folder, built without touching files.
#pragma once

#include <functional>
#include <string_view>

#include "result_list/list_header.h"
#include "result_list/result_entries.h"
#include "startup/run_state.h"

inline constexpr std::wstring_view kListNoDataLine = L"Copy result list is no data.";
inline constexpr std::wstring_view kListAbortedLine = L"Creation was aborted!";

// Receives the lines one by one, without line ends.
using LineSink = std::function<void(std::wstring_view line)>;

// Sorts the table's entries (dropping a trailing "\" of their paths) and
// hands every line of the list to `sink`.
// Shows the destination's name and the progress in shared's status texts and
// looks at listAbortRequested before each entry of the analysis and of the
// writing; on Cancel the last line is "Creation was aborted!" and the result
// is false. destinationPath is the copy (with DirTree 2 the source).
[[nodiscard]] bool RenderResultList(ResultEntryTable& table, const ListHeader& header,
                                    std::wstring_view destinationPath, SharedRunState& shared, const LineSink& sink);
