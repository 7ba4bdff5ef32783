#include "PageLabels.h"

namespace ScanPages {

void CreateLabels(CWnd* parent, CFont* font, std::initializer_list<LabelSpec> labels)
{
    for (const LabelSpec& spec : labels) {
        spec.label.Create(spec.text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, spec.rect, parent, UINT(spec.id));
        if (font) spec.label.SetFont(font);
    }
}

}  // namespace ScanPages
