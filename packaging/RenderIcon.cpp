// Renders the scalable application icon to a square PNG of a given size, for desktops and
// software centres that want bitmap icons beside the SVG.
//
//   daybreak_render_icon daybreak.svg daybreak-48.png 48
//
// The drawing keeps its aspect ratio and is centred on a transparent square, so a picture that
// is not square is never stretched. Exit status 0 on success, 1 on any failure (with a one-line
// message on standard error), 2 on bad arguments.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Bitmap icon sizes above this make no sense for an application icon and would only let a
// mistyped argument allocate gigabytes.
constexpr int kMaxSize = 4096;

int Fail(const QString& message) {
    std::fprintf(stderr, "daybreak_render_icon: %s\n", qPrintable(message));
    return 1;
}

// The largest rectangle of the drawing's aspect ratio that fits a size x size square, centred.
QRectF FitCentred(const QSizeF& picture, int size) {
    if (picture.width() <= 0 || picture.height() <= 0) {
        return QRectF(0, 0, size, size);
    }
    const double scale = std::min(size / picture.width(), size / picture.height());
    const double w = picture.width() * scale;
    const double h = picture.height() * scale;
    return QRectF((size - w) / 2.0, (size - h) / 2.0, w, h);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Rendering never needs a display; text in the drawing still needs the font database,
    // which comes with a GUI application object.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: daybreak_render_icon INPUT.svg OUTPUT.png SIZE\n");
        return 2;
    }
    bool ok = false;
    const int size = args.at(3).toInt(&ok);
    if (!ok || size < 1 || size > kMaxSize) {
        std::fprintf(stderr, "daybreak_render_icon: SIZE must be a whole number from 1 to %d\n",
                     kMaxSize);
        return 2;
    }

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        return Fail(QStringLiteral("cannot read the SVG drawing %1").arg(args.at(1)));
    }

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&painter, FitCentred(renderer.viewBoxF().size(), size));
    }
    if (!image.save(args.at(2), "PNG")) {
        return Fail(QStringLiteral("cannot write %1").arg(args.at(2)));
    }
    return 0;
}
