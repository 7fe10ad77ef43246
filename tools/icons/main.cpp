// telmaris-icons: draws the desktop icons from the program's logo. The square around the
// handset and its waves is cut from the top of the logo, given rounded corners and scaled to
// each size: OUTDIR/<n>x<n>/apps/NAME.png, the layout of the hicolor icon theme; or, with
// --ico, one Windows icon file holding every size (resources/windows/telmaris.ico is made so).
//   telmaris-icons LOGO OUTDIR NAME SIZE...
//   telmaris-icons --ico LOGO FILE SIZE...

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <algorithm>
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

QImage scaled(const QImage &emblem, int size) {
    return emblem.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A Windows icon file: a directory of entries, each image stored as PNG (Windows Vista and
// later read those at every size).
QByteArray icoFile(const QImage &emblem, const QList<int> &sizes) {
    QByteArray head;
    QByteArray images;
    const auto put16 = [&head](quint16 value) {
        head.append(2, '\0');
        qToLittleEndian(value, head.end() - 2);
    };
    const auto put32 = [&head](quint32 value) {
        head.append(4, '\0');
        qToLittleEndian(value, head.end() - 4);
    };
    put16(0); // reserved
    put16(1); // an icon, not a cursor
    put16(quint16(sizes.size()));
    const int firstImage = 6 + 16 * int(sizes.size());
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        scaled(emblem, size).save(&buffer, "PNG");
        head.append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        head.append(char(size >= 256 ? 0 : size));
        head.append(2, '\0'); // no palette, reserved
        put16(1);             // colour planes
        put16(32);            // bits per pixel
        put32(quint32(png.size()));
        put32(quint32(firstImage + images.size()));
        images += png;
    }
    return head + images;
}

int writeIco(const QImage &emblem, const QString &file, const QList<int> &sizes) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(icoFile(emblem, sizes)) < 0 || !out.flush()) {
        std::fprintf(stderr, "telmaris-icons: cannot write %s\n", qUtf8Printable(file));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    const bool ico = argc > 1 && QByteArray(argv[1]) == "--ico";
    if (argc < 5) {
        std::fprintf(stderr, "usage: telmaris-icons LOGO OUTDIR NAME SIZE...\n"
                             "       telmaris-icons --ico LOGO FILE SIZE...\n");
        return 2;
    }
    const QImage logo(QString::fromLocal8Bit(argv[ico ? 2 : 1]));
    if (logo.isNull() || !logo.rect().contains(Emblem)) {
        std::fprintf(stderr, "telmaris-icons: %s is not the logo\n", argv[ico ? 2 : 1]);
        return 1;
    }
    const QImage emblem = roundedEmblem(logo);
    if (ico) {
        QList<int> sizes;
        for (int i = 4; i < argc; ++i)
            sizes << std::clamp(QByteArray(argv[i]).toInt(), 1, 256);
        return writeIco(emblem, QString::fromLocal8Bit(argv[3]), sizes);
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString file = folder + u'/' + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(folder) || !scaled(emblem, size).save(file)) {
            std::fprintf(stderr, "telmaris-icons: cannot write %s\n", qUtf8Printable(file));
            return 1;
        }
    }
    return 0;
}
