// QMfc: the program's own small MFC-like layer over Win32 (wide strings, message maps, dialogs, GDI, controls).
// Include this one header; QMfcInternet.h (WinINet) and QMfcHtmlView.h (web browser control) are included
// separately by the few files that need them, to keep their system headers out of everything else.
// The program's WinMain comes from the QMfcMain object library (link it only into programs, not into test
// executables, which use their own main).
#pragma once

#include "QMfcString.h"
#include "QMfcTypes.h"
#include "QMfcObject.h"
#include "QMfcGdi.h"
#include "QMfcWnd.h"
#include "QMfcDialog.h"
#include "QMfcApp.h"
#include "QMfcControls.h"
#include "QMfcCollections.h"
#include "QMfcFile.h"
#include "QMfcCommonDialogs.h"
