// What the pages of the file tools say when a Yarrowby done message reports failures.
#pragma once

#include <QMfc.h>

// The page's failure text (its key's text, "%d" standing for the number of failed items) and, on a line of its
// own, the first failure's reason: a Yarrowby fault in the user's language, else the system's text of the error.
CString ToolFailureText(const wchar_t* key, WPARAM failed, LPARAM firstError);
