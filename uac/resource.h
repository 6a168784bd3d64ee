// Resource identifiers of the elevation helper.
#pragma once

#define IDI_VARO_UAC 102
#define IDM_UAC 103

#define IDM_EXIT 40001
