#include "FileDialogs.h"

#include "DbError.h"
#include "MessageBox.h"
#include "Module1.h"
#include "TargetFile.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

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

QString FileDialogs::saveFile(QWidget* parent, const QString& caption, const QString& filters, QString* chosenFilter)
{
    if (s_testMode) {
        if (chosenFilter)
            *chosenFilter = s_nextFilter.isEmpty() ? filters.section(QStringLiteral(";;"), 0, 0) : s_nextFilter;
        return std::exchange(s_nextFiles, {}).value(0);
    }
    return QFileDialog::getSaveFileName(parent, caption, QString(), filters, chosenFilter);
}

bool FileDialogs::print(QWidget* parent, QPrinter& printer)
{
    if (s_testMode)
        return false;
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool FileDialogs::choosePrinter(QWidget* parent, QPrinter& printer, const QString& pdfCaption)
{
    if (pdfCaption.isEmpty())
        return print(parent, printer);
    const QString path = saveFile(parent, pdfCaption, QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
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
