#include "HoverTracking.h"

bool Shell::TrackHover(HWND window, UINT message, BYTE& tracking, BYTE& hover)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!tracking) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, window, 1};
            tracking = ::TrackMouseEvent(&tme) ? 1 : 0;
        }
        return false;
    case WM_MOUSEHOVER:
        hover = 1;
        ::InvalidateRect(window, nullptr, TRUE);
        return true;
    case WM_MOUSELEAVE:
        tracking = 0;
        hover = 0;
        ::InvalidateRect(window, nullptr, TRUE);
        return true;
    }
    return false;
}
