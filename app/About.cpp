#include "app/About.h"

#include "app/BackupCommands.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "sync/SyncFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

QString About::text()
{
    QString file;
    try {
        file = Module1::databaseLocation();
    } catch (const DbError& error) {
        // The box still tells what it can: why the file cannot be named.
        file = error.description();
    }
    QString text = QCoreApplication::translate(
                       "About", "Tovrin %1\nA telephone directory with a telephone-message pad.\n\n"
                                "Released under the MIT licence.\n\nThe directory file:\n%2\n\nIts backup copies:\n%3")
                       .arg(QStringLiteral(TOVRIN_VERSION), file, BackupCommands::whereCopiesAre());
    try {
        const auto db = Database::open(Module1::databaseLocation());
        if (const QString sync = SyncFile::lastResult(*db); !sync.isEmpty())
            text += QStringLiteral("\n\n") + sync;
    } catch (const DbError&) {
        // No file, no sync to tell of.
    }
    return text;
}

void About::show(QWidget* parent)
{
    MessageBox::information(parent, text());
}

QAction* About::action(QWidget* window)
{
    auto* about = new QAction(QCoreApplication::translate("About", "About Tovrin"), window);
    QObject::connect(about, &QAction::triggered, window, [window] { show(window); });
    return about;
}
