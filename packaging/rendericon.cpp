// Build tool: draws the program's icon from its SVG into PNG files of the usual sizes, as the
// desktop's icon theme wants them: OUT/<size>x<size>/apps/NAME.png.
//
//     tarvello_rendericon ICON.svg OUT NAME SIZE...
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: tarvello_rendericon ICON.svg OUT NAME SIZE...\n");
        return 2;
    }
    const QIcon icon(args[1]);
    for (qsizetype i = 4; i < args.size(); ++i) {
        const int size = args[i].toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        QImage image = icon.pixmap(size, size).toImage();
        // The pixmap of an SVG icon may be smaller than asked for when the drawing is not square.
        if (image.size() != QSize(size, size) || image.isNull()) {
            std::fprintf(stderr, "tarvello_rendericon: cannot draw %s at %d pixels\n", qPrintable(args[1]),
                         size);
            return 1;
        }
        if (!QDir().mkpath(folder) || !image.save(folder + u'/' + args[3] + QStringLiteral(".png"))) {
            std::fprintf(stderr, "tarvello_rendericon: cannot write into %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
