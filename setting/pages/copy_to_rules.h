// Decisions of the Copy-to page: how the two name-kind lists keep each other
// consistent, which controls are enabled, what the lists hold and show, and
// the check of the name-kind combination at confirmation.
#pragma once

#include <array>

#include "checks/check_message.h"
#include "language.h"

// Name kinds, the index of lists 1001 and 1002 and the value of AddStringsBef / AddStringsAft.
enum NameKind : int {
    kKindNone = 0,
    kKindDateTime = 1,
    kKindDate = 2,
    kKindDateSerial = 3,
    kKindSerial = 4,
};

constexpr int kNameKindCount = 5;
constexpr int kResultListModeCount = 3;
constexpr int kMaxSerialDigits = 19;  // items "1" to "19" of list 1003

// The items of lists 1001 and 1002, indexed by kind.
const std::array<MessagePair, kNameKindCount>& NameKindItems();

// The new value of the other list after `thisKind` was chosen in one list.
int PairedNameKind(int thisKind, int otherKind);

struct CopyToEnabling {
    bool folderControls;  // combo 1000, buttons 530 and 531
    bool serialDigits;    // list 1003
};

// From radio 601 (copy to the specified folder) and the two kinds.
CopyToEnabling CopyToEnablingFor(bool specifiedFolder, int kindBefore, int kindAfter);

// The items of list 1009 (result-list mode), indexed by item.
const std::array<MessagePair, kResultListModeCount>& ResultListModeItems();

// DirTree and the item of list 1009 are the same number, 0 to 2: DirTree 1
// and 2 select their item and the items store them back; any other value,
// no selection included, maps to 0 (off).
int ResultListModeOf(int value);

// The note of static 1130: the copy-less mode is named, the others show nothing.
MessagePair ResultListModeLabel(int item);

// ZeroSuppress 1 to 19 selects item value - 1; other values no item (-1).
int SerialDigitsItemOf(int zeroSuppress);

// The selected item + 1; no selection (-1) stores 0.
int ZeroSuppressOfItem(int item);

// FolderHistorySelection after a notification of combo 1000: its list
// selection, or 0 when it has none (-1).
int FolderHistorySelectionAfter(int comboSelection);

// The combination of the generated name parts, checked both ways round.
// anyAddString: one of the four add strings is not empty (blanks count).
CheckResult CheckNameKinds(int kindBefore, int kindAfter, int copyMode, bool anyAddString);
