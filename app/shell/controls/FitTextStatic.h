// CFitTextStatic: a one-line static that keeps its whole text in view: whenever its text changes it takes the
// largest of its font sizes in which the text fits its width (the smallest when none does). Texts differ much in
// length between languages; a fixed font cuts the long ones off.
#pragma once

#include <QMfc.h>

#include <initializer_list>
#include <memory>
#include <vector>

class CFitTextStatic : public CStatic {
public:
    // Skin font heights from the largest down; fits the present text at once.
    void SetFontSizes(std::initializer_list<int> heights, BOOL bold);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fit();
    std::vector<std::unique_ptr<CFont>> m_fonts;
};
