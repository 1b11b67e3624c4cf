#include "data/Columns.h"

#include <QCoreApplication>

const Columns::Column* Columns::named(QStringView name)
{
    for (const Column& column : kAll) {
        if (name.compare(column.columnName(), Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

const QStringList& Columns::names()
{
    static const QStringList list = [] {
        QStringList names;
        for (const Column& column : kAll)
            names << column.columnName();
        return names;
    }();
    return list;
}

const QStringList& Columns::oldNames()
{
    static const QStringList list = [] {
        std::array<const Column*, kCount> byPlace{};
        for (const Column& column : kAll)
            byPlace.at(std::size_t(column.oldPlace)) = &column;
        QStringList names;
        for (const Column* column : byPlace)
            names << column->columnName();
        return names;
    }();
    return list;
}

QString Columns::writtenOut(const Column& column)
{
    return QCoreApplication::translate("Columns", column.writtenOut);
}
