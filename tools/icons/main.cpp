// telmaris-icons: draws the desktop icons from the program's logo. The square around the
// handset and its waves is cut from the top of the logo, given rounded corners and scaled to
// each size: OUTDIR/<n>x<n>/apps/NAME.png, the layout of the hicolor icon theme.
//   telmaris-icons LOGO OUTDIR NAME SIZE...

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The handset and its waves, in logo.png's pixels: above the lettering, inside the frame.
constexpr QRect Emblem(6, 16, 138, 138);

QImage roundedEmblem(const QImage &logo) {
    const QImage emblem = logo.copy(Emblem).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage icon(emblem.size(), QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    const qreal radius = emblem.width() * 0.18;
    frame.addRoundedRect(QRectF(emblem.rect()), radius, radius);
    painter.setClipPath(frame);
    painter.drawImage(0, 0, emblem);
    return icon;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: telmaris-icons LOGO OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QImage logo(QString::fromLocal8Bit(argv[1]));
    if (logo.isNull() || !logo.rect().contains(Emblem)) {
        std::fprintf(stderr, "telmaris-icons: %s is not the logo\n", argv[1]);
        return 1;
    }
    const QImage emblem = roundedEmblem(logo);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString file = folder + u'/' + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(folder) ||
            !emblem.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .save(file)) {
            std::fprintf(stderr, "telmaris-icons: cannot write %s\n", qUtf8Printable(file));
            return 1;
        }
    }
    return 0;
}
