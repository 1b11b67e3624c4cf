#include "cli/Console.h"

#include "data/DbError.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void write(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::out(const QString& text)
{
    write(stdout, text);
}

void Console::error(const QString& text)
{
    write(stderr, text);
}

int Console::failed(const DbError& error)
{
    Console::error(error.number() > 0 ? QCoreApplication::translate("Console", "Error %1\n%2\n")
                                            .arg(QString::number(error.number()), error.description())
                                      : error.description() + QLatin1Char('\n'));
    return 2;
}
