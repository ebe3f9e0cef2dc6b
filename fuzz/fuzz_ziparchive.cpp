// An archive's bytes, read as a coach's game: the capture folder found, the plans read and
// every captured play identified by reading it. Reads never hand out more than an entry's
// declared size, a failed read is kept as a problem of the archive, a second read of an entry
// (after a seek back) gives the same bytes, and nothing is ever written.
#include "archive/ziparchive.h"
#include "capture/capturedplays.h"
#include "fuzzcheck.h"
#include "league/leaguesource.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"

#include <cstddef>
#include <cstdint>

using namespace huddlex;

namespace {

// Plays longer than this are read only this far: a real play takes a few kilobytes.
constexpr qint64 kReadLimit = 1 << 20;

struct Quiet final : Notifier {
    void showMessage(const QString&) override {}
};

// Reads an entry up to kReadLimit in two pieces, then again from the start after a seek back.
void readTwice(const fs::Folder& folder, const QString& name) {
    fs::Result<fs::InputFile> opened = folder.openFile(name);
    if (!opened)
        return;
    fs::InputFile& file = opened.value();
    const qint64 wanted = std::min(file.size(), kReadLimit);
    fs::Result<QByteArray> first = file.read(wanted / 2);
    fs::Result<QByteArray> second = first ? file.read(wanted - wanted / 2) : first;
    if (!first || !second)
        return;
    FUZZ_CHECK(first->size() + second->size() <= file.size());
    if (!file.seek(0))
        return;
    fs::Result<QByteArray> again = file.read(wanted);
    if (again)
        FUZZ_CHECK(*again == *first + *second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    fs::Result<archive::ZipArchive> zip = archive::ZipArchive::fromBytes(bytes, "game.zip");
    if (!zip)
        return 0;
    FUZZ_CHECK(zip->entryCount() <= archive::ZipArchive::kMaxEntries);
    const fs::Result<fs::Folder> capture =
        league::FindCaptureFolder(zip->root(), zip->nestedArchives());
    if (!capture) {
        FUZZ_CHECK(!capture.message().isEmpty());
        return 0;
    }
    FBPlan plan;
    Quiet quiet;
    PlanFields fields;
    ReadPlanFiles(capture, "VPNFL", plan, quiet, &fields);
    const CapturedPlays plays = CapturedPlays::list(capture);
    for (qint64 n = 0; n < plays.count(); ++n) {
        if (const std::optional<QString> name = plays.name(n))
            readTwice(*capture, *name);
    }
    const int problems = int(zip->problems().size());
    for (const QString& problem : zip->problems())
        FUZZ_CHECK(!problem.isEmpty());
    FUZZ_CHECK(problems == int(zip->problems().size()));
    return 0;
}
