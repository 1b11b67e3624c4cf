#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Printer;
class QWidget;

// The standard file and print dialogs, with a seam like MessageBox's so that tests never block in one: in test
// mode each call takes the answer set beforehand (none: the user cancelled).
namespace FileDialogs {

QStringList openFiles(QWidget* parent, const QString& caption, const QString& filter);
// `filters` separated by ";;"; `chosenFilter` gets the one the user picked. The dialog offers `suggestedName` in the
// user's home folder; a name given without the chosen format's extension gets it.
QString saveFile(QWidget* parent, const QString& caption, const QString& filters, QString* chosenFilter = nullptr,
                 const QString& suggestedName = QString());
// A file name for what is saved today: "Personal 2026-12-07.vcf".
QString suggestedName(const QString& what, const QString& extension);
// Paper: Qt's print preview of what `paint` draws, whose print button asks for the printer and calls `paint` once
// more to print (nothing is shown in test mode). With `toPdf`: a PDF file the user names ("Save <what> as PDF",
// "<what> <date>.pdf" offered), then `paint` on it. Says so in a message box when printing is not available.
void printOrSave(QWidget* parent, const QString& what, bool toPdf, const std::function<void(Printer&)>& paint);

void setTestMode(bool on);
void setNextFiles(const QStringList& files, const QString& filter = QString());

// Writes a whole file or, on failure, leaves what was there and says why in a message box. True when written.
bool writeFile(QWidget* parent, const QString& path, const QByteArray& bytes);

} // namespace FileDialogs
