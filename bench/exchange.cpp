// Contacts in and out at scale: 10,000 generated entries exported as vCard and CSV, and imported again into an
// empty file (read, fitted, checked for duplicates and written in one transaction), each timed as a median.
#include "ContactExport.h"
#include "ContactImport.h"
#include "CsvWriter.h"
#include "Database.h"
#include "Generator.h"
#include "VCardWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
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
    const double exportCsv = medianMs(5, [] {}, [&] { csv = CsvWriter::contacts(ContactExport::entries(source, ContactExport::Book::Both)); });

    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    const auto emptyTarget = [&] {
        QFile::remove(target);
        Database::create(target);
    };
    int imported = 0;
    const auto import = [&](const QByteArray& bytes, const char* name) {
        const ContactImport::Plan plan = ContactImport::plan(ContactImport::readBytes(bytes, QLatin1String(name)), target);
        ContactImport::write(plan, target);
        imported = int(plan.added.size());
    };
    const double importCards = medianMs(5, emptyTarget, [&] { import(cards, "contacts.vcf"); });
    const int importedCards = imported;
    const double importCsv = medianMs(5, emptyTarget, [&] { import(csv, "contacts.csv"); });

    std::printf("### Contacts in and out (%d entries, %d imported back)\n\n", int(entries.size()), importedCards);
    line("export of 10,000 entries as vCard 3.0", exportCards, 1000);
    line("export of 10,000 entries as CSV", exportCsv, 1000);
    line("import of 10,000 vCards into an empty file", importCards, 2000);
    line("import of 10,000 CSV rows into an empty file", importCsv, 2000);
    return importedCards == kEntries ? 0 : 1;
}
