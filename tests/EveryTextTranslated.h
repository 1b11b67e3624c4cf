#pragma once

#include <QCoreApplication>
#include <QTranslator>

// A language in which every text reads differently from the English one, for tests that the program's behaviour
// does not hang on its wording. Installed for as long as it lives.
class EveryTextTranslated : public QTranslator
{
public:
    EveryTextTranslated() { QCoreApplication::installTranslator(this); }
    ~EveryTextTranslated() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("xx ") + QString::fromUtf8(source);
    }
};
