// The plain text labels the scan pages lay out in code.
#pragma once

#include <QMfc.h>

#include <initializer_list>

namespace ScanPages {

struct LabelSpec {
    CStatic& label;
    const wchar_t* text;
    CRect rect;
    int id;
};
// Creates each label as a visible, left-aligned static of the parent (no "&" prefixes) in the font.
void CreateLabels(CWnd* parent, CFont* font, std::initializer_list<LabelSpec> labels);

}  // namespace ScanPages
