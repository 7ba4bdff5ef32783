// Yarrowby.dll, the system-tools library: everything it exports.
#pragma once

#include "Yarrowby/ActiveXLock.h"
#include "Yarrowby/FileJoin.h"
#include "Yarrowby/FileShredder.h"
#include "Yarrowby/FileSpliter.h"
#include "Yarrowby/UninstallManager.h"
#include "Yarrowby/YarrowbyMessages.h"
