// What Qt's PDF engine alone takes to write a printed list as long as the longest one: the same
// number of fixed-width lines, the same count to a page, each drawn with QPainter::drawText, then
// each drawn as a glyph run already shaped. Nothing of the program runs: the figures are the floor
// under the time of the printed list into PDF.
//
//     build/bench/bench_pdf_floor [LINES [LINES_PER_PAGE]]

#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <cstdio>
#include <cstdlib>

namespace
{

// Seconds to write `lines` lines into a PDF in memory, `shaped` ahead or by drawText.
double writeList(int lines, int perPage, bool shaped, qint64* bytes)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QElapsedTimer clock;
    clock.start();
    {
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        QPainter painter(&writer);
        QFont font(QStringLiteral("Courier New"));
        font.setPointSizeF(8);
        painter.setFont(font);
        const QRawFont raw = QRawFont::fromFont(font);
        const QString line = QStringLiteral("Rossi Mario                     Tel. 338 5080364    C.F. "
                                            "MRTPLA47H05F158N  Città: Venezia                     ");
        for (int i = 0; i < lines; ++i) {
            if (i > 0 && i % perPage == 0)
                writer.newPage();
            const int y = 500 + (i % perPage) * 220;
            const QString text = line + QString::number(i);
            if (!shaped) {
                painter.drawText(300, y, text);
                continue;
            }
            const QList<quint32> glyphs = raw.glyphIndexesForString(text);
            const qreal advance = raw.advancesForGlyphIndexes(QList<quint32>{glyphs.first()}).first().x();
            QList<QPointF> positions(glyphs.size());
            for (qsizetype k = 0; k < glyphs.size(); ++k)
                positions[k] = QPointF(qreal(k) * advance, 0);
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            painter.drawGlyphRun(QPointF(300, y), run);
        }
    }
    *bytes = out.size();
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int perPage = argc > 2 ? std::atoi(argv[2]) : 56;
    for (const bool shaped : {false, true}) {
        qint64 bytes = 0;
        const double seconds = writeList(lines, perPage, shaped, &bytes);
        std::printf("%d lines, %d pages, %s: %.2f s, %.1f MB\n", lines, (lines + perPage - 1) / perPage,
                    shaped ? "glyph runs shaped ahead" : "drawText", seconds, double(bytes) / 1e6);
    }
    return 0;
}
