#include "messages/MessageCommands.h"

#include "app/About.h"
#include "app/BackupCommands.h"
#include "app/ErrorPath.h"
#include "app/FileDialogs.h"
#include "app/MDIForm1.h"
#include "app/Printout.h"
#include "app/Settings.h"
#include "app/UndoCommands.h"
#include "data/DataControl.h"
#include "exchange/ContactExport.h"
#include "exchange/CsvWriter.h"

#include <QAction>
#include <QDir>
#include <QWidget>

MessageCommands::MessageCommands(QWidget* window, DataControl* datTel)
    : QObject(window), m_window(window), m_datTel(datTel)
{
    const auto add = [this](const QString& text, auto handler) {
        auto* action = new QAction(text, m_window);
        connect(action, &QAction::triggered, this, handler);
        m_actions.append(action);
        return action;
    };
    // Undo and redo first, set apart from the commands for the log as a whole.
    m_actions << UndoCommands::actions(m_window, [this] { m_datTel->Refresh(); });
    auto* afterUndo = new QAction(m_window);
    afterUndo->setSeparator(true);
    m_actions << afterUndo;
    add(tr("Export Messages..."), [this] { exportMessages(); });
    QAction* print = add(tr("Print Messages..."), [this] { printMessages(false); });
    print->setShortcut(QKeySequence::Print);
    print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window->addAction(print);
    add(tr("Save Messages as PDF..."), [this] { printMessages(true); });
    auto* separator = new QAction(m_window);
    separator->setSeparator(true);
    auto* beforeRestore = new QAction(m_window);
    beforeRestore->setSeparator(true);
    m_actions << beforeRestore << BackupCommands::restoreAction(m_window) << Settings::action(m_window) << separator
              << About::action(m_window);
}

void MessageCommands::exportMessages()
{
    const QString path = FileDialogs::saveFile(m_window, tr("Export Messages"), tr("CSV, UTF-8 (*.csv)"), nullptr,
                                               FileDialogs::suggestedName(tr("Messages"), QStringLiteral("csv")));
    if (path.isEmpty())
        return;
    ErrorPath::runKeeping(m_window, [&] {
        QList<CsvWriter::MessageRow> rows;
        for (const ContactExport::Message& m : ContactExport::messages(m_datTel->DatabaseName()))
            rows.append({m.date, m.time, m.from, m.to, m.text});
        if (FileDialogs::writeFile(m_window, path, CsvWriter::messages(rows)))
            MDIForm1::showStatus(
                tr("Exported %n messages to %1.", nullptr, int(rows.size())).arg(QDir::toNativeSeparators(path)));
    });
}

void MessageCommands::printMessages(bool toPdf)
{
    const QString database = m_datTel->DatabaseName();
    FileDialogs::printOrSave(m_window, tr("Messages"), toPdf, [&](Printer& printer) {
        ErrorPath::runKeeping(m_window, [&] {
            const QList<ContactExport::Message> messages = ContactExport::messages(database);
            Printout::print(printer, database,
                            [&](QPagedPaintDevice& device) { Printout::messages(device, messages); });
        });
    });
}
