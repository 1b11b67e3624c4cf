// Contacts in and out at scale: 10,000 generated entries exported as vCard and CSV, and imported again into an
// empty file (read, fitted, checked for duplicates and written in one transaction), each timed as a median; 200,000
// small cards imported once; and a card of 1.5 million numbers (10 MB) read, planned and summed up, with the peak
// memory it took.
#include "Generator.h"
#include "data/Database.h"
#include "data/UndoLog.h"
#include "exchange/ContactExport.h"
#include "exchange/ContactImport.h"
#include "exchange/CsvWriter.h"
#include "exchange/VCardWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

constexpr int kEntries = 10000;

double medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& action)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        action();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void line(const char* label, double ms, double limit)
{
    std::printf("- %s — %s in %.0f ms (target: under %.0f ms)\n", ms < limit ? "PASS" : "MISS", label, ms, limit);
}

// A figure of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray& row : status.readAll().split('\n')) {
        if (row.startsWith(key))
            return row.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Starts the peak (VmHWM) afresh at what is resident now.
void resetPeak()
{
    malloc_trim(0); // what was freed goes back to the system, so it does not count as resident
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // First, while little else was ever resident.
    const QString empty = dir.filePath(QStringLiteral("empty.mdb"));
    Database::create(empty);
    // One card of 1.5 million TEL lines (10 MB): one entry, and a summary that names a thousand of the values left
    // out. Memory is measured from what was resident before, the file's bytes included.
    const QByteArray numbers =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Big;Card\r\n" + QByteArray("TEL:1\r\n").repeated(1500000) + "END:VCARD\r\n";
    resetPeak();
    const long residentKb = statusKb("VmRSS");
    qsizetype summaryBytes = 0;
    const double readNumbers = medianMs(
        1, [] {},
        [&] {
            const ContactImport::Plan plan =
                ContactImport::plan(ContactImport::readBytes(numbers, QStringLiteral("numbers.vcf")), empty);
            summaryBytes = ContactImport::summary(plan).toUtf8().size();
        });
    const double grownMb = double(statusKb("VmHWM") - residentKb) / 1024;

    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    Generator::generate(source, kEntries, 0);
    Database::open(source)->refreshSortKeys();

    QList<Contact> entries;
    QByteArray cards;
    QByteArray csv;
    const double exportCards = medianMs(
        5, [] {},
        [&] {
            entries = ContactExport::entries(source, ContactExport::Book::Both);
            cards = VCardWriter::write(entries);
        });
    const double exportCsv = medianMs(
        5, [] {}, [&] { csv = CsvWriter::contacts(ContactExport::entries(source, ContactExport::Book::Both)); });

    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    const auto emptyTarget = [&] {
        QFile::remove(target);
        Database::create(target);
    };
    int imported = 0;
    const auto import = [&](const QByteArray& bytes, const char* name) {
        const ContactImport::Plan plan =
            ContactImport::plan(ContactImport::readBytes(bytes, QLatin1String(name)), target);
        ContactImport::write(plan, target);
        imported = int(plan.added.size());
    };
    const double importCards = medianMs(5, emptyTarget, [&] { import(cards, "contacts.vcf"); });
    const int importedCards = imported;
    const double importCsv = medianMs(5, emptyTarget, [&] { import(csv, "contacts.csv"); });

    // The same import recorded as a step, as the directory window records it, and then taken back.
    std::vector<double> recordedTimes;
    const double undoImport = medianMs(
        3,
        [&] {
            emptyTarget();
            UndoLog::instance().clearForTesting();
            QElapsedTimer clock;
            clock.start();
            UndoLog::Recording step(QStringLiteral("Import"));
            import(cards, "contacts.vcf");
            step.keep();
            recordedTimes.push_back(double(clock.nsecsElapsed()) / 1e6);
        },
        [&] { UndoLog::instance().undo(target); });
    std::sort(recordedTimes.begin(), recordedTimes.end());
    const double importRecorded = recordedTimes[recordedTimes.size() / 2];

    // 200,000 small cards, each with a name and a cellular number: one prepared INSERT in one transaction.
    QByteArray small;
    for (int i = 0; i < 200000; ++i)
        small += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Last" + QByteArray::number(i) + ";First;;;\r\nTEL;TYPE=CELL:050-" +
                 QByteArray::number(1000000 + i) + "\r\nEND:VCARD\r\n";
    // The processor time beside it: on a machine busy with other work the clock counts their time too.
    timespec cpuStart{};
    timespec cpuEnd{};
    const double importSmall = medianMs(1, emptyTarget, [&] {
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
        import(small, "small.vcf");
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
    });
    const double importSmallCpu =
        double(cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + double(cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6;
    const int importedSmall = imported;
    small.clear();

    std::printf("### Contacts in and out (%d entries, %d imported back)\n\n", int(entries.size()), importedCards);
    line("export of 10,000 entries as vCard 3.0", exportCards, 1000);
    line("export of 10,000 entries as CSV", exportCsv, 1000);
    line("import of 10,000 vCards into an empty file", importCards, 500);
    line("import of 10,000 CSV rows into an empty file", importCsv, 500);
    line("import of 200,000 small vCards into an empty file", importSmall, 3000);
    std::printf("  (processor time of that import: %.0f ms)\n", importSmallCpu);
    std::printf("- %s — undo of an import of 10,000 vCards in %.0f ms (target: no slower than the import, recorded "
                "for undo: %.0f ms)\n",
                undoImport <= importRecorded ? "PASS" : "MISS", undoImport, importRecorded);
    line("a 10 MB card of 1.5 million numbers read, planned and summed up", readNumbers, 2000);
    std::printf("- %s — peak memory of that card: %.1f MB beyond what was resident (target: under 100 MB); its summary "
                "%.1f kB (target: under 1000 kB)\n",
                grownMb < 100 && summaryBytes < 1000 * 1000 ? "PASS" : "MISS", grownMb, double(summaryBytes) / 1000);
    return importedCards == kEntries && importedSmall == 200000 ? 0 : 1;
}
