#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// What the program logged while `action` ran: one line per message, with its category. Warnings
// of the program's categories are on by default, so nothing needs to be enabled.
struct LogLine {
    QString category;
    QString text;
};

namespace logcapture_detail
{
inline std::vector<LogLine>& lines()
{
    static std::vector<LogLine> kept;
    return kept;
}
inline void keep(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    lines().push_back({QString::fromUtf8(context.category), text});
}
} // namespace logcapture_detail

template <typename Action> std::vector<LogLine> logOf(Action action)
{
    logcapture_detail::lines().clear();
    const QtMessageHandler previous = qInstallMessageHandler(logcapture_detail::keep);
    action();
    qInstallMessageHandler(previous);
    return std::move(logcapture_detail::lines());
}

// The lines of one category: a failure deep down is logged by the layer that met it (with the
// system's reason) and by each layer that reports it on.
inline std::vector<LogLine> linesOf(const std::vector<LogLine>& log, const QString& category)
{
    std::vector<LogLine> kept;
    for (const LogLine& l : log)
        if (l.category == category)
            kept.push_back(l);
    return kept;
}
