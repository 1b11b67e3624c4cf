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

    // A choice among `buttons`; returns the index of the one chosen. `safe` is the default button, and what Escape
    // or closing the box chooses.
    static int choice(QWidget* parent, const QString& text, const QStringList& buttons, int safe);

    static void setTestMode(bool on);
    static bool testMode();
    static void setNextAnswer(bool yes);
    // The next choice's answer in test mode (-1: its safe button).
    static void setNextChoice(int index);
    static QStringList takeMessages();
    static int questionsAsked();
};
