#include "About.h"

#include "BackupCommands.h"
#include "DbError.h"
#include "MessageBox.h"
#include "Module1.h"

#include <QAction>
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
    return QStringLiteral("Tovrin %1\nA telephone directory with a telephone-message pad.\n\n"
                          "Released under the MIT licence.\n\nThe directory file:\n%2\n\nIts backup copies:\n%3")
        .arg(QStringLiteral(TOVRIN_VERSION), file, BackupCommands::whereCopiesAre());
}

void About::show(QWidget* parent)
{
    MessageBox::information(parent, text());
}

QAction* About::action(QWidget* window)
{
    auto* about = new QAction(QStringLiteral("About Tovrin"), window);
    QObject::connect(about, &QAction::triggered, window, [window] { show(window); });
    return about;
}
