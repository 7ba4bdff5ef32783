// The volumes a build of the library works on: the real backend (Velmora.dll) opens the drive's volume; the
// simulated one (the test build) hands out volumes kept in memory. Letters are upper case 'A' to 'Z'.
#pragma once

#include <memory>

#include "Volume.h"

namespace velmora {

// 0 when the volume can be processed, else a negative UDEFRAG_E_... code.
int CheckVolume(char letter);
// Opens the volume for a job; 0 or a negative code.
int OpenVolume(char letter, std::unique_ptr<Volume>& out);

}  // namespace velmora
