#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's message boxes, with a seam so that tests never block in a modal dialog: in test mode nothing is
// shown, messages are recorded and questions take the answer set beforehand.
class MessageBox
{
public:
    static void critical(QWidget* parent, const QString& text);
    static void information(QWidget* parent, const QString& text);
    // Something failed, and the program goes on.
    static void warning(QWidget* parent, const QString& text);
    // A yes/no question; "No" is the default button, so a stray Enter keeps the data, unless `yesIsDefault`.
    static bool question(QWidget* parent, const QString& text, bool yesIsDefault = false);

    static void setTestMode(bool on);
    static bool testMode();
    static void setNextAnswer(bool yes);
    static QStringList takeMessages();
    static int questionsAsked();
};
