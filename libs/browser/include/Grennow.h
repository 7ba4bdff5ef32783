// Grennow.dll, the browser settings library: Internet Explorer's settings and add-ons of this machine, read from
// and written to the registry. Everything it exports.
#pragma once

#include "Grennow/IEAddons.h"
#include "Grennow/IEGerneralSetting.h"
#include "Grennow/IERestore.h"
#include "Grennow/IESecurityMan.h"
