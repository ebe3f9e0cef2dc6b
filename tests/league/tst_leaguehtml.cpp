#include "league/leaguecheck.h"
#include "league/leaguewriters.h"
#include "leaguerig.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

QString chromium() {
    for (const char* name : {"chromium", "chromium-browser"}) {
        if (const QString path = QStandardPaths::findExecutable(name); !path.isEmpty())
            return path;
    }
    return {};
}

// Headless chromium on `page` with `what` (--dump-dom, --screenshot=..., --print-to-pdf=...),
// offline: a fresh profile, nothing fetched in the background.
QByteArray browse(const QString& page, const QString& what) {
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium(),
                  {"--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync", "--no-first-run",
                   "--user-data-dir=" + profile.path(), "--window-size=1100,1400", what,
                   QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(120'000))
        qFatal("chromium did not finish");
    return browser.readAllStandardOutput();
}

int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (line[x] & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
    }
    return count;
}

} // namespace

class LeagueHtmlTest : public QObject {
    Q_OBJECT
private slots:
    // The page stands alone: nothing in it is fetched or run.
    void selfContained() {
        SampleWeek week;
        const QByteArray page =
            league::LeagueHtml(league::LeagueCheck(week.pool, "VPNFL", {week.week}).run());
        for (const char* outside : {"<script", "src=", "href=\"http", "url(", "@import", "<link"})
            QVERIFY2(!page.contains(outside), outside);
        QVERIFY(page.contains("@media print"));
    }

    // In a real browser: the page renders with its games, the unknown plays and gaps stand out,
    // the modified play's bytes are marked, and it prints.
    void inChromium() {
        if (chromium().isEmpty())
            QSKIP("chromium is not installed (scripts/setup.sh installs it)");
        SampleWeek week;
        QTemporaryDir out;
        const QString page = out.filePath("week.html");
        // Named as a commissioner in the league's folder names them.
        const QString before = QDir::currentPath();
        QDir::setCurrent(week.env.root());
        WriteHostFile(page,
                      league::LeagueHtml(league::LeagueCheck("pool", "VPNFL", {"week"}).run()));
        QDir::setCurrent(before);

        const QString dom = QString::fromUtf8(browse(page, "--dump-dom"));
        for (const QString& html :
             {QDir::toNativeSeparators("week/c-folder"),
              QString("Modified Blitz: 3 of 510 bytes differ"), QString("VPNFL\\Off\\Gone.ply"),
              QString("<mark>23</mark>"), QString("it is not a zip archive")})
            QVERIFY2(dom.contains(html), qPrintable(html));

        // HUDDLEX_LEAGUE_SCREENSHOT keeps the picture (scripts/screenshots.sh, for the README).
        const QString shot =
            qEnvironmentVariable("HUDDLEX_LEAGUE_SCREENSHOT", out.filePath("week.png"));
        browse(page, "--screenshot=" + shot);
        const QImage image(shot);
        QCOMPARE(image.size(), QSize(1100, 1400));
        QVERIFY(pixelsOf(image, qRgb(0xfd, 0xe8, 0xe6)) > 1000); // unknown plays' rows
        QVERIFY(pixelsOf(image, qRgb(0xb3, 0x26, 0x1e)) > 100);  // the red of gaps and counts
        QVERIFY(pixelsOf(image, qRgb(0xff, 0xd5, 0x4f)) > 100);  // the differing bytes

        const QString pdf = out.filePath("week.pdf");
        browse(page, "--print-to-pdf=" + pdf);
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.read(5) == "%PDF-" && printed.size() > 10'000);
    }
};

QTEST_GUILESS_MAIN(LeagueHtmlTest)
#include "tst_leaguehtml.moc"
