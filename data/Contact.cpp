#include "data/Contact.h"

#include "data/Columns.h"

QStringList Contact::values() const
{
    QStringList list;
    list.reserve(Columns::kCount);
    for (const Columns::Column& column : Columns::kAll)
        list << this->*column.field;
    return list;
}

Contact Contact::fromValues(const QStringList& values)
{
    Contact c;
    if (values.size() == Columns::kCount) {
        for (int i = 0; i < Columns::kCount; ++i)
            c.*Columns::kAll[std::size_t(i)].field = values.at(i);
    }
    return c;
}
