#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// The standard file and print dialogs, with a seam like MessageBox's so that tests never block in one: in test
// mode each call takes the answer set beforehand (none: the user cancelled).
namespace FileDialogs {

QStringList openFiles(QWidget* parent, const QString& caption, const QString& filter);
// `filters` separated by ";;"; `chosenFilter` gets the one the user picked.
QString saveFile(QWidget* parent, const QString& caption, const QString& filters, QString* chosenFilter = nullptr);
// The print dialog for `printer`; true when the user chose to print.
bool print(QWidget* parent, QPrinter& printer);
// Sets `printer` up for paper (the print dialog) or, with `pdfCaption`, for a PDF file the user names; false when
// the user cancelled.
bool choosePrinter(QWidget* parent, QPrinter& printer, const QString& pdfCaption = QString());

void setTestMode(bool on);
void setNextFiles(const QStringList& files, const QString& filter = QString());

// Writes a whole file or, on failure, leaves what was there and says why in a message box. True when written.
bool writeFile(QWidget* parent, const QString& path, const QByteArray& bytes);

} // namespace FileDialogs
