#include "fs/filesystem.h"

#include <QtTest>

using namespace huddlex;

class WildcardTest : public QObject {
    Q_OBJECT
private slots:
    void match_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::newRow("ply") << "FBplay0.ply"
                             << "*.ply" << true;
        QTest::newRow("ply ignores case") << "FBPLAY0.PLY"
                                          << "*.ply" << true;
        QTest::newRow("other extension") << "XOff1.pln"
                                         << "*.ply" << false;
        QTest::newRow("ply inside name") << "a.ply.bak"
                                         << "*.ply" << false;
        QTest::newRow("star dot star, no extension") << "README"
                                                     << "*.*" << true;
        QTest::newRow("star dot star") << "XOff1.pln"
                                       << "*.*" << true;
        QTest::newRow("question mark") << "FBplay7.ply"
                                       << "FBplay?.ply" << true;
        QTest::newRow("question mark needs a char") << "FBplay.ply"
                                                    << "FBplay?.ply" << false;
        QTest::newRow("exact name, other case") << "xferbox"
                                                << "Xferbox" << true;
        QTest::newRow("backtracking") << "aXbXc.ply"
                                      << "a*b*c.ply" << true;
        QTest::newRow("empty pattern") << "a"
                                       << "" << false;
    }
    void match() {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(fs::matchesWildcard(name, pattern), matches);
    }
};

QTEST_GUILESS_MAIN(WildcardTest)
#include "tst_wildcard.moc"
