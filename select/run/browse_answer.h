// The folder browser's answer, as the copy run receives it: the shared
// browser's own answer.
#pragma once

#include "folder_browser.h"
