// Handing the answer to the settings application that started the helper.
#pragma once

#include "context_menu_entries.h"
#include "elevation_exchange.h"

// Without a waiting settings application the block does not exist; the
// helper then tries this many more times, kAnswerPollMs apart (5 s), and ends.
constexpr int kAnswerRetriesWithoutPartner = 25;

// Writes the answer into the block, retrying while it fails: while the block
// exists (a settings application waits) for as long as that one reads, else
// kAnswerRetriesWithoutPartner times. Then waits for the acknowledgement,
// which also ends when the settings application has gone. Returns whether
// the answer was written.
bool DeliverAnswer(const UacContext& context, const ElevationAnswer& answer);
