// Moravin.dll, the system repair library: everything it exports.
#pragma once

#include "Moravin/FileAssociateRepaire.h"
#include "Moravin/ShortCutClean.h"
