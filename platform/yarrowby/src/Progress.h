// Progress arithmetic of the file tools, without windows.
#pragma once

#include <windows.h>

// A fixed number of ticks spread over an amount of work: the shredder's page moves its bar one step per
// `passes` messages, so a run sends exactly 100 x passes of them, each when the work done crosses the next share.
class ProgressTicks {
public:
    ProgressTicks(unsigned long long total, unsigned ticks);
    // The ticks that became due now that `done` units of work are done (done only grows; never more than are left).
    unsigned AdvanceTo(unsigned long long done);
    // The ticks not yet given out, at the end of the run.
    unsigned Rest();

private:
    unsigned long long m_total;
    unsigned m_ticks;
    unsigned m_given = 0;
};

// The splitter's and joiner's progress: the part done on the scale 0 to YARROWBY_PROGRESS_SCALE, reported each
// time the work has grown by a step: 1 MiB or a hundredth of the whole, whichever is more.
class ScaledProgress {
public:
    explicit ScaledProgress(unsigned long long total);
    // True when a message is due at `done` bytes; `scaled` is then the part done.
    bool Due(unsigned long long done, WPARAM& scaled);
    // The part done of `done` bytes of `total` (the whole scale for an empty total).
    static WPARAM Scale(unsigned long long done, unsigned long long total);

private:
    unsigned long long m_total;
    unsigned long long m_step;
    unsigned long long m_next;
};
