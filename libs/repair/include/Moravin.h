// Moravin.dll, the system repair library: everything it exports.
#pragma once

#include "Moravin/ErrorUtility.h"
#include "Moravin/FileAssociateRepaire.h"
#include "Moravin/RegisterDll.h"
#include "Moravin/ShortCutClean.h"
#include "Moravin/SystemProgram.h"
#include "Moravin/WinsockRepaire.h"
