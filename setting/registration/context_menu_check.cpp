#include "context_menu_check.h"

#include "context_menu_keys.h"
#include "registration_decisions.h"

int ContextMenuCheck(HKEY classesRoot, std::wstring_view entryName, int action) {
    if (action != kActionCheck) return 0;
    return CheckContextMenuEntries(classesRoot, entryName, {{L"CMC1", L"CMC2"}, {L"CMP1", L"CMP2"}});
}
