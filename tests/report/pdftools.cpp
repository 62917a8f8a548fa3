#include "pdftools.h"

#include "report/reportunits.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tarvello::testing
{

namespace
{

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString unescapeXml(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

bool popplerAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

PdfSummary pdfSummary(const QString& path)
{
    PdfSummary summary;
    const QString out = run(QStringLiteral("pdfinfo"), {path});
    if (out.isEmpty())
        return summary;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression size(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression title(QStringLiteral("^Title:\\s+(.*)$"),
                                          QRegularExpression::MultilineOption);
    const auto p = pages.match(out);
    const auto s = size.match(out);
    const auto t = title.match(out);
    summary.ok = p.hasMatch() && s.hasMatch();
    summary.pages = p.captured(1).toInt();
    summary.widthPt = s.captured(1).toDouble();
    summary.heightPt = s.captured(2).toDouble();
    summary.title = t.captured(1).trimmed();
    return summary;
}

QString pdfXmp(const QString& path)
{
    return run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), path});
}

QList<PdfWord> pdfWords(const QString& path)
{
    QList<PdfWord> words;
    const QString out =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">(.*)</word>"));
    int page = 0;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (line.contains(QStringLiteral("<page "))) {
            ++page;
            continue;
        }
        const auto m = word.match(line);
        if (!m.hasMatch())
            continue;
        words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble(), unescapeXml(m.captured(5))});
    }
    return words;
}

QList<PdfWord> wordsOnPage(const QList<PdfWord>& words, int page)
{
    QList<PdfWord> result;
    for (const PdfWord& w : words) {
        if (w.page == page)
            result.append(w);
    }
    return result;
}

PdfWord findWord(const QList<PdfWord>& words, const QString& text)
{
    for (const PdfWord& w : words) {
        if (w.text == text)
            return w;
    }
    return {};
}

double pt(double mm)
{
    return pointsFromMm(mm);
}

} // namespace tarvello::testing
