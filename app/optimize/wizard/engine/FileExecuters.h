// Wizard actions that remove a folder tree or a file. Both take only full paths and report true only when the
// target is gone afterwards (already absent counts); a folder tree never follows linked folders.
#pragma once

#include <string>

#include "ErrorWizardExecuter.h"

// The path as the removal uses it: Common's normal form ("/" becomes "\", repeated separators and "\.\" folded,
// the "\\" of a network path kept) without a trailing "\".
std::wstring NormaliseRemovalPath(const std::wstring& path);
// True when a normalised path may be removed: a full path ("X:\..." or "\\server\share\...") below a root, shorter
// than MAX_PATH. Empty, relative, rooted-without-drive, root and drive-root paths are refused, and so is a path
// too long to be handled whole (it is never cut to a shorter, different path).
bool IsRemovablePath(const std::wstring& normalised);

class CRemoveDirExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
};

class CRemoveFileExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
};
