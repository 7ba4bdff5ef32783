// Asking Windows to restart the computer after a repair that needs it.
#pragma once

enum class RestartRequest {
    Requested,        // Windows is restarting
    NoShutdownRight,  // this user may not shut the computer down
    Failed,           // Windows refused the restart
};

// Enables this process's shutdown right and asks Windows to restart. Running programs are asked to close (and
// may keep their unsaved work); only a program that hangs is ended.
RestartRequest RequestRestart();
