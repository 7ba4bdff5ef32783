// The caption under a picture button of a home page (the repair and the tools home pages).
#pragma once

#include "DrawerMenu.h"

// Centred, and wrapped to the button's share of the row so that neighbouring captions do not run into each other
// (a single word wider than that keeps its own width).
class CHomeButtonCaption : public CMainMenuText {
public:
    int m_nWrapWidth = 100;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};
