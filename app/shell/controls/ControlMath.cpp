#include "ControlMath.h"

int CheckBoxStateAfterClick(int state)
{
    if (state == 0) return 1;
    if (state == 1) return 0;
    return state;
}

int NextFrameIndex(int current, int frameCount)
{
    int next = current + 1;
    return (next < 0 || next >= frameCount) ? 0 : next;
}

int ClampProgressPos(int pos, int min, int max)
{
    if (max <= min) return min;
    if (pos < min) return min;
    if (pos > max) return max;
    return pos;
}

int ProgressBarWidth(int pos, int min, int max, int clientWidth)
{
    if (max <= min || clientWidth <= 2) return 0;
    pos = ClampProgressPos(pos, min, max);
    if (pos == min) return 0;
    double fraction = double(pos - min) / double(max - min);
    // The bitmap is stretched to (bar width - 1) pixels starting at x = 1.
    int barWidth = int(double(clientWidth - 2) * fraction + 1.0);
    return barWidth - 1 > 0 ? barWidth - 1 : 0;
}
