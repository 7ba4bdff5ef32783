#include "Progress.h"

#include "Yarrowby/YarrowbyMessages.h"

ProgressTicks::ProgressTicks(unsigned long long total, unsigned ticks) : m_total(total), m_ticks(ticks) {}

unsigned ProgressTicks::AdvanceTo(unsigned long long done)
{
    if (m_total == 0) return 0;
    if (done > m_total) done = m_total;
    // A double keeps totals of any size in range; the rounding only moves a tick by a byte.
    unsigned due = unsigned(double(done) / double(m_total) * m_ticks);
    if (done == m_total) due = m_ticks;
    if (due > m_ticks) due = m_ticks;
    if (due <= m_given) return 0;
    const unsigned now = due - m_given;
    m_given = due;
    return now;
}

unsigned ProgressTicks::Rest()
{
    const unsigned now = m_ticks - m_given;
    m_given = m_ticks;
    return now;
}

ScaledProgress::ScaledProgress(unsigned long long total) : m_total(total)
{
    const unsigned long long mib = 1ull << 20;
    m_step = total / 100 > mib ? total / 100 : mib;
    m_next = m_step;
}

bool ScaledProgress::Due(unsigned long long done, WPARAM& scaled)
{
    if (done < m_next) return false;
    while (m_next <= done) m_next += m_step;
    scaled = Scale(done, m_total);
    return true;
}

WPARAM ScaledProgress::Scale(unsigned long long done, unsigned long long total)
{
    if (total == 0 || done >= total) return YARROWBY_PROGRESS_SCALE;
    return WPARAM(double(done) / double(total) * YARROWBY_PROGRESS_SCALE);
}
