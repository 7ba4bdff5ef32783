// Small icons of the system shell for the shortcut page's lists.
#pragma once

#include <QMfc.h>

#include <initializer_list>

namespace ShortcutPage {

// Icons of shell32.dll by index: 0 a file of no known type (a shortcut whose target is gone), 8 a drive,
// 15 the computer.
enum ShellIcon : UINT { kShellIconFile = 0, kShellIconDrive = 8, kShellIconComputer = 15 };

// Makes the list (16 x 16, 32-bit colour with a mask) and adds the icons in order; one that cannot be read is
// left out. The list keeps its own copies.
void LoadShellIcons(CImageList& list, std::initializer_list<UINT> indices);

}  // namespace ShortcutPage
