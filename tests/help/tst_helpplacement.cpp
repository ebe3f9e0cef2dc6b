// The help window opens beside the main window, never over it where the screen has room.
#include "ui/helpplacement.h"

#include <QtTest>

using huddlex::help::placeBeside;

class HelpPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void besideTheMainWindow_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("owner");  // the main window's frame
        QTest::addColumn<QString>("side"); // where the help ends up; "least" when no side fits
        QTest::newRow("1024 x 768, designed spot")
            << QRect(0, 0, 1024, 768) << QRect(828, 568, 163, 148) << "left";
        QTest::newRow("1920 x 1080, lower right")
            << QRect(0, 0, 1920, 1080) << QRect(1724, 876, 163, 148) << "left";
        QTest::newRow("with panels")
            << QRect(48, 0, 1872, 1040) << QRect(1724, 836, 163, 148) << "left";
        QTest::newRow("main window moved to the left edge")
            << QRect(0, 0, 1920, 1080) << QRect(0, 400, 163, 148) << "right";
        QTest::newRow("main window at the top, wide and low screen")
            << QRect(0, 0, 1000, 1080) << QRect(300, 0, 400, 148) << "below";
        QTest::newRow("800 x 600: no side has room")
            << QRect(0, 0, 800, 600) << QRect(600, 420, 163, 148) << "least";
    }
    void besideTheMainWindow() {
        QFETCH(QRect, available);
        QFETCH(QRect, owner);
        QFETCH(QString, side);
        const QSize size(790, 570);
        const QRect help(placeBeside(available, owner, size), size);
        if (side == "least") {
            QVERIFY(available.contains(help));
            // Every other spot inside the screen covers at least as much of the main window.
            const auto covered = [&](const QRect& r) {
                const QRect both = r.intersected(owner);
                return both.isValid() ? both.width() * both.height() : 0;
            };
            for (int x = available.left(); x + size.width() <= available.right() + 1; x += 10)
                for (int y = available.top(); y + size.height() <= available.bottom() + 1; y += 10)
                    QVERIFY(covered(help) <= covered(QRect(QPoint(x, y), size)));
            return;
        }
        QVERIFY(available.contains(help));
        QVERIFY(!help.intersects(owner));
        if (side == "left")
            QVERIFY(help.right() < owner.left());
        else if (side == "right")
            QVERIFY(help.left() > owner.right());
        else if (side == "below")
            QVERIFY(help.top() > owner.bottom());
    }

    // Larger than the screen: its top left corner stays on it.
    void largerThanTheScreen() {
        const QRect available(100, 50, 640, 480);
        QCOMPARE(placeBeside(available, QRect(400, 300, 100, 100), QSize(800, 600)),
                 QPoint(100, 50));
    }
};

QTEST_GUILESS_MAIN(HelpPlacementTest)
#include "tst_helpplacement.moc"
