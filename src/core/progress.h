#pragma once

// How far a long piece of work has come, and whether the user asked it to stop: the work reports
// to it as it goes, and through it the window that shows the progress gets its turns.

#include <QtGlobal>

#include <atomic>
#include <functional>

namespace tarvello
{

class Progress
{
public:
    void setTotal(qint64 total) { m_total.store(total, std::memory_order_relaxed); }
    // The work has done `done` of its total; false once the user asked it to stop, and the work
    // then ends at once, leaving nothing half made.
    bool advance(qint64 done)
    {
        m_done.store(done, std::memory_order_relaxed);
        if (m_onAdvance)
            m_onAdvance();
        if (!stopped())
            return true;
        m_heeded.store(true, std::memory_order_relaxed);
        return false;
    }
    void stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    // The work saw the stop and ended without finishing.
    bool heeded() const { return m_heeded.load(std::memory_order_relaxed); }
    // From 0 to 1; 0 while the total is not known.
    double fraction() const
    {
        const qint64 total = m_total.load(std::memory_order_relaxed);
        return total > 0 ? qBound(0.0, double(m_done.load(std::memory_order_relaxed)) / double(total), 1.0)
                         : 0.0;
    }

    // Called at each advance (by the window that shows the progress).
    void onAdvance(std::function<void()> call) { m_onAdvance = std::move(call); }

    // How often a scan over records reports: often enough for the bar and a quick stop, rarely
    // enough to cost nothing.
    static constexpr qint64 step = 4096;

    // For a scan over records: reports record `index` (counted from 0) done once every `step`
    // records. False once the user asked to stop; always true without a progress.
    static bool passed(Progress* progress, qint64 index)
    {
        return !progress || index % step != step - 1 || progress->advance(index + 1);
    }

private:
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_heeded{false};
    std::function<void()> m_onAdvance;
};

} // namespace tarvello
