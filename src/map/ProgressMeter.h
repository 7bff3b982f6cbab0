// Progress reports of long work (opening, saving, re-dimensioning a map), at
// a rate a progress bar can follow without slowing the work down.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <utility>

// Told how much of the work is done, in the work's own units (bytes).
using ProgressCallback = std::function<void(qint64 done, qint64 total)>;

// Calls a progress callback once at the start, then each time another Step
// of the work is done, and once at the end; never per cell. Without a
// callback it does nothing.
class ProgressMeter {
public:
    // At most this much work between two reports, and at most Reports reports
    // in all; a small piece of work (a well-compressed file) still moves the bar.
    static constexpr qint64 Step = 4 * 1024 * 1024;
    static constexpr qint64 Reports = 256;

    ProgressMeter(ProgressCallback callback, qint64 total)
        : m_callback(std::move(callback))
        , m_total(total)
        , m_step(std::clamp<qint64>(total / Reports, 1, Step))
        , m_next(m_step)
    {
        if (m_callback)
            m_callback(0, m_total);
    }

    // Work done so far; reports when it has passed the next step.
    void reach(qint64 done)
    {
        if (!m_callback || m_finished || done < m_next)
            return;
        m_callback(std::min(done, m_total), m_total);
        m_next = done + m_step;
        m_finished = done >= m_total;
    }

    void finish()
    {
        if (m_callback && !m_finished)
            m_callback(m_total, m_total);
        m_finished = true;
    }

private:
    ProgressCallback m_callback;
    qint64 m_total = 0;
    qint64 m_step = Step;
    qint64 m_next = Step;
    bool m_finished = false;
};
