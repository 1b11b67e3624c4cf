#include "directory/ContactCommands.h"

#include "app/About.h"
#include "app/BackupCommands.h"
#include "app/ErrorPath.h"
#include "app/FileDialogs.h"
#include "app/MDIForm1.h"
#include "app/Printout.h"
#include "app/Settings.h"
#include "app/SyncWindows.h"
#include "app/UndoCommands.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/UndoLog.h"
#include "directory/ImportPreview.h"
#include "directory/frmMain.h"
#include "exchange/AccessFile.h"
#include "exchange/ContactExport.h"
#include "exchange/CsvWriter.h"
#include "exchange/VCardWriter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QWidget>

namespace {

// Beyond this many entries an import shows its progress and can be cancelled.
constexpr int kQuietImport = 500;

// The formats of an export, in the order the save dialog offers them.
enum class Format { VCard3, VCard21, VCard4, Csv, GoogleCsv, OutlookCsv };

} // namespace

ContactCommands::ContactCommands(QWidget* window, DataControl* datTel, std::function<QString()> book,
                                 std::function<void()> idle)
    : QObject(window), m_window(window), m_datTel(datTel), m_book(std::move(book)), m_idle(std::move(idle))
{
    const auto add = [this](const QString& text, auto handler) {
        auto* action = new QAction(text, m_window);
        connect(action, &QAction::triggered, this, handler);
        m_actions.append(action);
        return action;
    };
    // Undo and redo first, set apart from the commands for contacts in and out.
    m_actions << UndoCommands::actions(m_window, [this] { m_datTel->Refresh(); });
    auto* afterUndo = new QAction(m_window);
    afterUndo->setSeparator(true);
    m_actions << afterUndo;
    add(tr("Import Contacts..."), [this] {
        importFiles(FileDialogs::openFiles(m_window, tr("Import Contacts"),
                                           tr("Contacts (*.vcf *.vcard *.csv *.txt *.mdb *.accdb);;All files (*)")));
    });
    add(tr("Export This Book..."), [this] { exportBooks(false); });
    add(tr("Export Both Books..."), [this] { exportBooks(true); });
    QAction* print = add(tr("Print This Book..."), [this] { printBook(false); });
    print->setShortcut(QKeySequence::Print);
    print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window->addAction(print);
    add(tr("Save This Book as PDF..."), [this] { printBook(true); });
    auto* separator = new QAction(m_window);
    separator->setSeparator(true);
    auto* beforeRestore = new QAction(m_window);
    beforeRestore->setSeparator(true);
    auto* beforeSync = new QAction(m_window);
    beforeSync->setSeparator(true);
    m_actions << beforeSync << SyncWindows::actions(m_window, [this] { m_datTel->Refresh(); });
    m_actions << beforeRestore << BackupCommands::restoreAction(m_window) << Settings::action(m_window) << separator
              << About::action(m_window);
}

bool ContactCommands::importable(const QString& path)
{
    for (const char* ending : {".vcf", ".vcard", ".csv", ".mdb", ".accdb"}) {
        if (path.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    }
    // An old program's data file under any name.
    return AccessFile::hasSignature(path);
}

void ContactCommands::importFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    ErrorPath::runKeeping(m_window, [&] {
        const QString database = m_datTel->DatabaseName();
        const auto plan = ImportPreview::ask(m_window, files, database);
        if (!plan || (plan->added.isEmpty() && plan->messages.isEmpty()))
            return;
        m_idle();
        std::unique_ptr<QProgressDialog> progress;
        if (plan->added.size() > kQuietImport) {
            progress = std::make_unique<QProgressDialog>(tr("Importing contacts..."), tr("Cancel"), 0,
                                                         int(plan->added.size()), m_window);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
        }
        UndoLog::Recording step(tr("Import of %1 and %2")
                                    .arg(tr("%n Entries", nullptr, int(plan->added.size())),
                                         tr("%n Messages", nullptr, int(plan->messages.size()))));
        ContactImport::FirstNew first;
        const bool written = ContactImport::write(
            *plan, database,
            [&](int done) {
                if (!progress)
                    return true;
                if (done % 50 == 0)
                    progress->setValue(done);
                return !progress->wasCanceled();
            },
            &first);
        if (written) {
            step.keep();
            MDIForm1::showStatus(tr("Imported %1 and %2.")
                                     .arg(tr("%n entries", nullptr, int(plan->added.size())),
                                          tr("%n messages", nullptr, int(plan->messages.size()))));
            m_datTel->Refresh();
            const bool showsBusiness = m_book() == ::Book::Business.name();
            const qint64 shown = showsBusiness ? first.business : first.personal;
            if (shown != 0)
                Q_EMIT imported(m_book(), shown);
            else if (const qint64 other = showsBusiness ? first.personal : first.business; other != 0)
                Q_EMIT imported((showsBusiness ? ::Book::Personal : ::Book::Business).name(), other);
        }
    });
}

void ContactCommands::exportBooks(bool both)
{
    // Told apart by their place in the list, whatever language names them.
    const QStringList filters{
        tr("vCard 3.0 (*.vcf)"),  tr("vCard 2.1, for older phones (*.vcf)"), tr("vCard 4.0 (*.vcf)"),
        tr("CSV, UTF-8 (*.csv)"), tr("CSV for Google Contacts (*.csv)"),     tr("CSV for Outlook (*.csv)")};
    QString filter;
    const QString shown = frmMain::bookCaption(m_book());
    const QString what = both ? tr("Personal and Business") : shown;
    const QString path = FileDialogs::saveFile(m_window, both ? tr("Export Both Books") : tr("Export %1").arg(shown),
                                               filters.join(QStringLiteral(";;")), &filter,
                                               FileDialogs::suggestedName(what, QStringLiteral("vcf")));
    if (path.isEmpty())
        return;
    ErrorPath::runKeeping(m_window, [&] {
        const auto book = both ? ContactExport::Book::Both : *ContactExport::bookNamed(m_book());
        const QList<Contact> entries = ContactExport::entries(m_datTel->DatabaseName(), book);
        const auto format = Format(std::max(0, int(filters.indexOf(filter))));
        QByteArray bytes;
        if (format == Format::GoogleCsv)
            bytes = CsvWriter::contacts(entries, CsvWriter::Layout::Google);
        else if (format == Format::OutlookCsv)
            bytes = CsvWriter::contacts(entries, CsvWriter::Layout::Outlook);
        else if (format == Format::Csv ||
                 (filter.isEmpty() && path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)))
            bytes = CsvWriter::contacts(entries);
        else
            bytes = VCardWriter::write(entries, format == Format::VCard21  ? VCardWriter::Version::V21
                                                : format == Format::VCard4 ? VCardWriter::Version::V40
                                                                           : VCardWriter::Version::V30);
        if (FileDialogs::writeFile(m_window, path, bytes))
            MDIForm1::showStatus(
                tr("Exported %n entries to %1.", nullptr, int(entries.size())).arg(QDir::toNativeSeparators(path)));
    });
}

void ContactCommands::printBook(bool toPdf)
{
    const QString book = m_book();
    // The printout is headed with the book's name as the window shows it; the stored name finds its entries.
    const QString title = frmMain::bookCaption(book);
    const QString database = m_datTel->DatabaseName();
    FileDialogs::printOrSave(m_window, title, toPdf, [&](Printer& printer) {
        ErrorPath::runKeeping(m_window, [&] {
            const QList<Contact> entries = ContactExport::entries(database, *ContactExport::bookNamed(book));
            Printout::print(printer, database,
                            [&](QPagedPaintDevice& device) { Printout::book(device, title, entries); });
        });
    });
}
