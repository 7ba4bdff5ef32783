// Pure rules of the skinned controls, kept apart from their windows.
#pragma once

// Check box: a click in the square toggles unchecked (0) and checked (1); every other state stays.
int CheckBoxStateAfterClick(int state);

// Next animation frame: wraps to 0 when the list holds no frame at the next index.
int NextFrameIndex(int current, int frameCount);

// Progress bar: position clamped to [min, max] (min when the range is empty or inverted).
int ClampProgressPos(int pos, int min, int max);

// Width in pixels of the bar bitmap's target, 0 when nothing is drawn (position at min, or an empty range).
int ProgressBarWidth(int pos, int min, int max, int clientWidth);
