// Creates the empty database file the program is supplied with, unless a file is there already.
#include "data/Database.h"
#include "data/DbError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tovrin_mkdb PATH\n");
        return 2;
    }
    if (QFileInfo::exists(args.at(1)))
        return 0;
    try {
        Database::create(args.at(1));
    } catch (const DbError& error) {
        std::fprintf(stderr, "tovrin_mkdb: %d %s\n", error.number(), error.what());
        return 1;
    }
    return 0;
}
