#include "MessageBox.h"

#include <QMessageBox>

namespace {
bool s_testMode = false;
bool s_nextAnswer = false;
int s_questions = 0;
QStringList s_messages;
} // namespace

void MessageBox::critical(QWidget* parent, const QString& text)
{
    if (s_testMode) {
        s_messages.append(text);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Tovrin"), text);
}

void MessageBox::information(QWidget* parent, const QString& text)
{
    if (s_testMode) {
        s_messages.append(text);
        return;
    }
    QMessageBox::information(parent, QStringLiteral("Tovrin"), text);
}

void MessageBox::warning(QWidget* parent, const QString& text)
{
    if (s_testMode) {
        s_messages.append(text);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Tovrin"), text);
}

bool MessageBox::question(QWidget* parent, const QString& text, bool yesIsDefault)
{
    ++s_questions;
    if (s_testMode) {
        s_messages.append(text);
        const bool answer = s_nextAnswer;
        s_nextAnswer = false;
        return answer;
    }
    return QMessageBox::question(parent, QStringLiteral("Tovrin"), text, QMessageBox::Yes | QMessageBox::No,
                                 yesIsDefault ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::setTestMode(bool on)
{
    s_testMode = on;
}

bool MessageBox::testMode()
{
    return s_testMode;
}

void MessageBox::setNextAnswer(bool yes)
{
    s_nextAnswer = yes;
}

QStringList MessageBox::takeMessages()
{
    QStringList messages;
    messages.swap(s_messages);
    return messages;
}

int MessageBox::questionsAsked()
{
    return s_questions;
}
