// The one application object of Quorvel.exe; the layer's start-up runs its InitInstance.
#include "EntryApp.h"

CEntryApp theApp;
