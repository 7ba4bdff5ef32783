// Waiting for a worker from a thread that may own windows the worker sends messages to.
#pragma once

#include <windows.h>

namespace Coldrith
{
// Waits for the handle while dispatching this thread's messages, so a worker blocked in SendMessageW
// to one of our windows can finish.
void WaitPumping(HANDLE handle);
}
