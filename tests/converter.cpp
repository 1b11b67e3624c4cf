// Converts an old program's data file as the program does at start; the conversion test stops it dead at a step
// (TOVRIN_CONVERSION_STOP) or kills it at a random moment.
#include "app/AccessConversion.h"
#include "data/DbError.h"
#include "exchange/AccessFile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tovrin_converter READER FILE\n");
        return 2;
    }
    AccessFile::setReaderProgram(QString::fromLocal8Bit(argv[1]));
    try {
        AccessConversion::convert(QString::fromLocal8Bit(argv[2]));
    } catch (const DbError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
