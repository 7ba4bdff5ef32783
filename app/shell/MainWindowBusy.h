// Tells the main window that a long job starts (true) or ended (false); pages drop requests meanwhile.
#pragma once

void SetMainWindowBusy(bool busy);
