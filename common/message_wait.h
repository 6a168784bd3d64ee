// Waiting on a thread that owns windows. A window whose thread neither
// dispatches messages nor returns blocks every thread and process that sends
// it a message (a broadcast, a cross-thread call); these waits keep the
// thread's messages flowing while they wait.
#pragma once

#include <initializer_list>

#include <windows.h>

// Waits until one of `handles` is signalled or `timeoutMs` has passed,
// dispatching this thread's messages meanwhile; with no handles it only lets
// the time pass. Returns as WaitForMultipleObjects does: WAIT_OBJECT_0 + the
// index of the signalled handle, WAIT_TIMEOUT or WAIT_FAILED. A quit message
// that arrives meanwhile is kept for the thread's message loop.
DWORD WaitWithMessages(std::initializer_list<HANDLE> handles, DWORD timeoutMs);
