#include "app/FileDialogs.h"

#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Printing.h"
#include "data/DbError.h"
#include "exchange/TargetFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
bool s_testMode = false;
QStringList s_nextFiles;
QString s_nextFilter;
} // namespace

QStringList FileDialogs::openFiles(QWidget* parent, const QString& caption, const QString& filter)
{
    if (s_testMode)
        return std::exchange(s_nextFiles, {});
    return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
}

namespace {

// The extension a filter such as "vCard 3.0 (*.vcf)" names.
QString extensionOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

QString FileDialogs::saveFile(QWidget* parent, const QString& caption, const QString& filters, QString* chosenFilter,
                              const QString& suggestedName)
{
    QString path;
    QString filter;
    if (s_testMode) {
        filter = s_nextFilter.isEmpty() ? filters.section(QStringLiteral(";;"), 0, 0) : s_nextFilter;
        path = std::exchange(s_nextFiles, {}).value(0);
    } else {
        QFileDialog dialog(parent, caption, QDir::home().filePath(suggestedName), filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(extensionOf(filters.section(QStringLiteral(";;"), 0, 0)));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) { dialog.setDefaultSuffix(extensionOf(chosen)); });
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        path = dialog.selectedFiles().value(0);
        filter = dialog.selectedNameFilter();
    }
    if (chosenFilter)
        *chosenFilter = filter;
    // The dialog adds the extension to a name without one; a name with another one gets it too, so that what is
    // written is what the name says.
    const QString extension = extensionOf(filter);
    if (!path.isEmpty() && !extension.isEmpty() &&
        QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + extension;
    return path;
}

QString FileDialogs::suggestedName(const QString& what, const QString& extension)
{
    return QStringLiteral("%1 %2.%3").arg(what, QDate::currentDate().toString(Qt::ISODate), extension);
}

void FileDialogs::printOrSave(QWidget* parent, const QString& what, bool toPdf,
                              const std::function<void(Printer&)>& paint)
{
    try {
        if (toPdf) {
            const QString path =
                saveFile(parent, QCoreApplication::translate("FileDialogs", "Save %1 as PDF").arg(what),
                         QStringLiteral("PDF (*.pdf)"), nullptr, suggestedName(what, QStringLiteral("pdf")));
            if (path.isEmpty())
                return;
            const std::unique_ptr<Printer> printer = Printing::table().pdf(path);
            paint(*printer);
            return;
        }
        if (s_testMode)
            return;
        Printing::table().preview(parent, paint);
    } catch (const DbError& error) {
        MessageBox::critical(parent, error.description());
    }
}

void FileDialogs::setTestMode(bool on)
{
    s_testMode = on;
}

void FileDialogs::setNextFiles(const QStringList& files, const QString& filter)
{
    s_nextFiles = files;
    s_nextFilter = filter;
}

bool FileDialogs::writeFile(QWidget* parent, const QString& path, const QByteArray& bytes)
{
    try {
        TargetFile::save(path, bytes, gDbPath);
        return true;
    } catch (const DbError& error) {
        MessageBox::critical(parent, error.description());
        return false;
    }
}
