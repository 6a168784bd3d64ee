#include "pages/copy_to_rules.h"

namespace {

constexpr std::array<MessagePair, kNameKindCount> kNameKindItems = {{
    {L"", L""},
    {L"年月日_時分秒", L"Date_time"},
    {L"年月日", L"Date"},
    {L"年月日_連番", L"Date_Sirial number"},
    {L"連番", L"Sirial number"},
}};

constexpr std::array<MessagePair, kResultListModeCount> kResultListModeItems = {{
    {L"なし", L"Off"},
    {L"あり", L"On"},
    {L"あり(コピー処理は行わない)", L"On(Don't copy processing)"},
}};

constexpr int kListOnlyItem = 2;

constexpr MessagePair kListOnlyLabel = {L"【コピー処理は行われないモードです】", L"[Copy processing is not performed]"};

constexpr MessagePair kNeedAddString = {L"付与する文字列に任意の文字を入力する必要があります。\n",
                                        L"You need to enter an arbitrary character string in the add string.\n"};
constexpr MessagePair kDateTimeAlone = {L"付与する文字列には、年月日時分秒は単独でしか指定できません。\n",
                                        L"In the add strings to be given,Date_time can be specified only by itself.\n"};
constexpr MessagePair kDateNeedsSerial = {
    L"付与する文字列には、年月日は必ず連番と組み合わせて指定してください。\n",
    L"In the add strings to be given,Please be sure to combine Date with Serial number.\n"};
constexpr MessagePair kDateSerialAlone = {
    L"付与する文字列には、年月日_連番は単独でしか指定できません。\n",
    L"In the add strings to be given,Date_Serial number can be specified only by itself.\n"};
constexpr MessagePair kSerialWithDateOnly = {
    L"付与する文字列には、連番は指定なしか年月日しか指定できません。\n",
    L"In the add strings to be given,You can specify only Serial number without designation or Date.\n"};

bool IsSerialKind(int kind) {
    return kind == kKindDateSerial || kind == kKindSerial;
}

// One pass of the combination rules, with `thisKind` on the side looked at.
const MessagePair* FailedNameKindRule(int thisKind, int otherKind, int copyMode, bool anyAddString) {
    switch (thisKind) {
        case kKindNone:
            return otherKind == kKindNone && copyMode == 0 && !anyAddString ? &kNeedAddString : nullptr;
        case kKindDateTime:
            return otherKind != kKindNone ? &kDateTimeAlone : nullptr;
        case kKindDate:
            return otherKind != kKindSerial ? &kDateNeedsSerial : nullptr;
        case kKindDateSerial:
            return otherKind != kKindNone ? &kDateSerialAlone : nullptr;
        case kKindSerial:
            return otherKind != kKindNone && otherKind != kKindDate ? &kSerialWithDateOnly : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

const std::array<MessagePair, kNameKindCount>& NameKindItems() {
    return kNameKindItems;
}

int PairedNameKind(int thisKind, int otherKind) {
    switch (thisKind) {
        case kKindNone:
            return otherKind == kKindDate ? kKindNone : otherKind;
        case kKindDateTime:
        case kKindDateSerial:
            return kKindNone;
        case kKindDate:
            return kKindSerial;
        case kKindSerial:
            return otherKind == kKindDate ? kKindDate : kKindNone;
        default:
            return otherKind;
    }
}

CopyToEnabling CopyToEnablingFor(bool specifiedFolder, int kindBefore, int kindAfter) {
    return {specifiedFolder, IsSerialKind(kindBefore) || IsSerialKind(kindAfter)};
}

const std::array<MessagePair, kResultListModeCount>& ResultListModeItems() {
    return kResultListModeItems;
}

int ResultListModeOf(int value) {
    return value == 1 || value == 2 ? value : 0;
}

MessagePair ResultListModeLabel(int item) {
    return item == kListOnlyItem ? kListOnlyLabel : MessagePair{L"", L""};
}

int SerialDigitsItemOf(int zeroSuppress) {
    return zeroSuppress >= 1 && zeroSuppress <= kMaxSerialDigits ? zeroSuppress - 1 : -1;
}

int ZeroSuppressOfItem(int item) {
    return item < 0 ? 0 : item + 1;
}

int FolderHistorySelectionAfter(int comboSelection) {
    return comboSelection < 0 ? 0 : comboSelection;
}

CheckResult CheckNameKinds(int kindBefore, int kindAfter, int copyMode, bool anyAddString) {
    const MessagePair* failed = FailedNameKindRule(kindBefore, kindAfter, copyMode, anyAddString);
    if (!failed) failed = FailedNameKindRule(kindAfter, kindBefore, copyMode, anyAddString);
    if (!failed) return std::nullopt;
    return CheckFailure{CheckedField::NameKinds, {*failed, {}}};
}
