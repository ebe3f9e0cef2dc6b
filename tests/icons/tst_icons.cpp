#include "icowriter.h"
#include "ui/icons.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

namespace {

// A picture with transparent corners and a colour per quarter, so flips and channel mix-ups
// show.
QImage sample(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int half = size / 2;
    painter.fillRect(0, 0, half, half, QColor(255, 0, 0));
    painter.fillRect(half, 0, size - half, half, QColor(0, 255, 0, 128));
    painter.fillRect(0, half, half, size - half, QColor(0, 0, 255));
    return image;
}

} // namespace

// The icons as the program and the Windows executables carry them: every icon in every
// rendered size, and the Windows icon file readable with each picture intact.
class IconsTest : public QObject {
    Q_OBJECT
private slots:
    void everyIconInEverySize() {
        for (const char* name : {"huddlex", "start", "stop", "validate", "view", "log", "help"}) {
            const QIcon icon = huddlex::programIcon(QLatin1String(name));
            const QList<QSize> sizes = icon.availableSizes();
            for (int size : {16, 24, 32, 48, 64})
                QVERIFY2(sizes.contains(QSize(size, size)), name);
            QVERIFY(!icon.pixmap(16, 16).toImage().isNull());
        }
        QVERIFY(huddlex::programIcon(QStringLiteral("huddlex"))
                    .availableSizes()
                    .contains(QSize(256, 256)));
        QVERIFY(huddlex::programIcon(QStringLiteral("no such icon")).isNull());
    }

    void iconFileHoldsEveryPictureIntact() {
        const QList<int> sizes{16, 24, 32, 48, 256};
        QList<QImage> images;
        for (int size : sizes)
            images << sample(size);
        QByteArray data = icoFile(images);
        QBuffer buffer(&data);
        QImageReader reader(&buffer, "ico");
        QCOMPARE(reader.imageCount(), sizes.size());
        for (int i = 0; i < sizes.size(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(read.size(), QSize(sizes[i], sizes[i]));
            const int q = sizes[i] / 4;
            QCOMPARE(read.pixel(q, q), qRgba(255, 0, 0, 255));
            QCOMPARE(qAlpha(read.pixel(3 * q, q)), 128);
            QCOMPARE(read.pixel(q, 3 * q), qRgba(0, 0, 255, 255));
            QCOMPARE(qAlpha(read.pixel(3 * q, 3 * q)), 0);
        }
    }
};

QTEST_MAIN(IconsTest)
#include "tst_icons.moc"
