// Build tool: lays out the user guide (HTML kept in the repository, pictures taken by the
// screenshot programs) on A4 pages into a PDF, and writes beside it the pdfmark instructions that
// give the PDF its outline, its named destinations, the links of its table of contents and its
// metadata, which Ghostscript then merges into the final file.
//
//     tarvello_makeguide GUIDE.html PICTURES_FOLDER LOGO.svg OUT.pdf OUT.pdfmark
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <cmath>
#include <cstdio>

namespace
{

constexpr int kResolution = 300; // dots per inch of the PDF's device
constexpr double kPointsPerDot = 72.0 / kResolution;

struct Heading {
    int level = 1; // 1 chapter, 2 section
    QString title;
    QString anchor; // the chapter's named destination
    int page = 0;   // zero-based
    double top = 0; // in device dots from the top of the text area
};

struct Placed {
    QString anchor; // a link of the table of contents
    int page = 0;
    QRectF rect; // device dots in the text area
};

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "tarvello_makeguide: %s\n", qPrintable(why));
    std::exit(1);
}

QString readText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return QString::fromUtf8(f.readAll());
}

// A text in a pdfmark: UTF-16 with its byte-order mark, in hexadecimal, so accents survive.
QByteArray pdfText(const QString& text)
{
    QByteArray hex = "<FEFF";
    for (QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

class Guide
{
public:
    Guide(QPdfWriter& writer, const QString& html, const QString& pictures) : m_writer(writer)
    {
        const QRect paint = writer.pageLayout().paintRectPixels(kResolution);
        m_textWidth = paint.width();
        m_pageHeight = paint.height() - kFooter;
        m_doc.documentLayout()->setPaintDevice(&writer);
        m_doc.setDocumentMargin(0);
        QFont body(QStringLiteral("DejaVu Sans"));
        body.setPointSizeF(10);
        // Any letter spacing turns the ligatures off: a reader searching for "fi" or copying a word
        // finds the letters, not the one glyph "ﬁ" that PDF tools often cannot map back.
        body.setLetterSpacing(QFont::AbsoluteSpacing, 0.1);
        m_doc.setDefaultFont(body);
        m_html = html;
        loadPictures(pictures);
    }

    // Lays out the guide until the table of contents names the pages its chapters really fall on.
    void layOut()
    {
        QString contents;
        for (int round = 0; round < 4; ++round) {
            QString text = m_html;
            text.replace(QStringLiteral("<!-- indice -->"), contents);
            m_doc.setHtml(text);
            m_doc.setPageSize(QSizeF(m_textWidth, m_pageHeight));
            collect();
            const QString next = tableOfContents();
            if (next == contents)
                return;
            contents = next;
        }
        fail(QStringLiteral("the table of contents does not settle"));
    }

    void paint(const QString& logo)
    {
        QPainter painter(&m_writer);
        const int pages = m_doc.pageCount();
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                m_writer.newPage();
            painter.save();
            painter.translate(0, -page * m_pageHeight);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(0, page * m_pageHeight, m_textWidth, m_pageHeight);
            painter.setClipRect(context.clip);
            m_doc.documentLayout()->draw(&painter, context);
            painter.restore();
            if (page == 0)
                paintLogo(painter, logo);
            else
                paintFooter(painter, page + 1, pages);
        }
    }

    void writeMarks(const QString& path, const QString& title, const QString& author) const
    {
        QByteArray out;
        out += "[ /Title " + pdfText(title) + " /Author " + pdfText(author) + " /Subject " +
               pdfText(QStringLiteral("Manuale d'uso del programma Tarvello: fatture proforma, anagrafica "
                                      "clienti e magazzino prodotti")) +
               " /Keywords " +
               pdfText(QStringLiteral("Tarvello, guida, fatture proforma, clienti, magazzino")) +
               " /Creator " + pdfText(QStringLiteral("tarvello_makeguide")) + " /DOCINFO pdfmark\n";
        out += "[ /PageMode /UseOutlines /Page 1 /View [/Fit] /DOCVIEW pdfmark\n";
        const double pageHeightPt = m_writer.pageLayout().fullRect(QPageLayout::Point).height();
        const double marginTopPt = m_writer.pageLayout().margins(QPageLayout::Point).top();
        const double marginLeftPt = m_writer.pageLayout().margins(QPageLayout::Point).left();
        auto topOf = [&](const Heading& h) {
            return QByteArray::number(std::round(pageHeightPt - marginTopPt - h.top * kPointsPerDot + 6));
        };
        for (qsizetype i = 0; i < m_headings.size(); ++i) {
            const Heading& h = m_headings[i];
            if (h.level != 1)
                continue;
            int sections = 0;
            for (qsizetype j = i + 1; j < m_headings.size() && m_headings[j].level == 2; ++j)
                ++sections;
            const QByteArray view =
                "/Page " + QByteArray::number(h.page + 1) + " /View [/XYZ null " + topOf(h) + " null]";
            out += "[ /Title " + pdfText(h.title) +
                   (sections ? " /Count -" + QByteArray::number(sections) : QByteArray()) + " " + view +
                   " /OUT pdfmark\n";
            for (qsizetype j = i + 1; j < m_headings.size() && m_headings[j].level == 2; ++j)
                out += "[ /Title " + pdfText(m_headings[j].title) + " /Page " +
                       QByteArray::number(m_headings[j].page + 1) + " /View [/XYZ null " +
                       topOf(m_headings[j]) + " null] /OUT pdfmark\n";
            out += "[ /Dest /" + h.anchor.toLatin1() + " " + view + " /DEST pdfmark\n";
        }
        for (const Placed& link : m_links) {
            const Heading* target = nullptr;
            for (const Heading& h : m_headings)
                if (h.anchor == link.anchor)
                    target = &h;
            if (!target)
                continue;
            const double x0 = marginLeftPt + link.rect.left() * kPointsPerDot;
            const double x1 = marginLeftPt + link.rect.right() * kPointsPerDot;
            const double y0 = pageHeightPt - marginTopPt - link.rect.bottom() * kPointsPerDot;
            const double y1 = pageHeightPt - marginTopPt - link.rect.top() * kPointsPerDot;
            out += "[ /SrcPg " + QByteArray::number(link.page + 1) + " /Rect [" +
                   QByteArray::number(x0, 'f', 1) + " " + QByteArray::number(y0, 'f', 1) + " " +
                   QByteArray::number(x1, 'f', 1) + " " + QByteArray::number(y1, 'f', 1) +
                   "] /Border [0 0 0] /Dest /" + link.anchor.toLatin1() + " /Subtype /Link /ANN pdfmark\n";
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
            fail(QStringLiteral("cannot write %1").arg(path));
    }

    int chapters() const
    {
        int n = 0;
        for (const Heading& h : m_headings)
            n += h.level == 1;
        return n;
    }

private:
    static constexpr int kFooter = 120; // dots kept free at the foot of each page

    void loadPictures(const QString& folder)
    {
        static const QRegularExpression source(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
        for (auto it = source.globalMatch(m_html); it.hasNext();) {
            const QString name = it.next().captured(1);
            QImage image(folder + u'/' + name);
            if (image.isNull())
                fail(QStringLiteral("picture %1 not found in %2").arg(name, folder));
            m_doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
        }
    }

    int pageOf(double y) const { return int(y / m_pageHeight); }

    void collect()
    {
        m_headings.clear();
        m_links.clear();
        QAbstractTextDocumentLayout* layout = m_doc.documentLayout();
        for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next()) {
            const int level = b.blockFormat().headingLevel();
            const QRectF box = layout->blockBoundingRect(b);
            if (level == 1 || level == 2) {
                Heading h;
                h.level = level;
                h.title = b.text().simplified();
                h.page = pageOf(box.top());
                h.top = box.top() - h.page * m_pageHeight;
                for (auto it = b.begin(); !it.atEnd(); ++it)
                    if (!it.fragment().charFormat().anchorNames().isEmpty())
                        h.anchor = it.fragment().charFormat().anchorNames().constFirst();
                if (level == 1 && h.anchor.isEmpty())
                    fail(QStringLiteral("chapter \"%1\" has no anchor").arg(h.title));
                m_headings.append(h);
            }
            // The lines of the table of contents link to their chapter.
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QString href = it.fragment().charFormat().anchorHref();
                if (!href.startsWith(u'#'))
                    continue;
                const QRectF line = box.adjusted(0, 0, 0, 0);
                Placed p{href.mid(1), pageOf(line.top()),
                         line.translated(0, -pageOf(line.top()) * m_pageHeight)};
                m_links.append(p);
                break;
            }
        }
    }

    QString tableOfContents() const
    {
        QString out = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"5\">");
        int number = 0;
        for (const Heading& h : m_headings) {
            if (h.level != 1)
                continue;
            ++number;
            out += QStringLiteral(
                       "<tr><td width=\"8%\"><a href=\"#%1\">%2.</a></td><td><a href=\"#%1\">%3</a></td>"
                       "<td align=\"right\">%4</td></tr>")
                       .arg(h.anchor)
                       .arg(number)
                       .arg(h.title.toHtmlEscaped())
                       .arg(h.page + 1);
        }
        return out + QStringLiteral("</table>");
    }

    void paintFooter(QPainter& painter, int page, int pages) const
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(8);
        painter.setFont(font);
        painter.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF foot(0, m_pageHeight + kFooter / 3.0, m_textWidth, kFooter * 2 / 3.0);
        painter.drawLine(QPointF(0, foot.top()), QPointF(m_textWidth, foot.top()));
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Tarvello – Guida all'utilizzo"));
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Pagina %1 di %2").arg(page).arg(pages));
    }

    void paintLogo(QPainter& painter, const QString& logo) const
    {
        const int side = 600; // two inches
        const QImage image = QIcon(logo).pixmap(side, side).toImage();
        if (image.isNull())
            fail(QStringLiteral("cannot draw the logo %1").arg(logo));
        painter.drawImage(QRectF((m_textWidth - side) / 2.0, m_pageHeight - side - 200, side, side), image);
    }

    QPdfWriter& m_writer;
    QTextDocument m_doc;
    QString m_html;
    double m_textWidth = 0;
    double m_pageHeight = 0;
    QList<Heading> m_headings;
    QList<Placed> m_links;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: tarvello_makeguide GUIDE.html PICTURES LOGO.svg OUT.pdf OUT.pdfmark\n");
        return 2;
    }
    const QString title = QStringLiteral("Tarvello – Guida all'utilizzo");
    const QString author = QStringLiteral("Tarvello Software");
    QPdfWriter writer(args[4]);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter));
    writer.setTitle(title);
    writer.setCreator(author);
    Guide guide(writer, readText(args[1]), args[2]);
    guide.layOut();
    guide.paint(args[3]);
    guide.writeMarks(args[5], title, author);
    std::printf("%d chapters\n", guide.chapters());
    return 0;
}
