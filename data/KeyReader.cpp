#include "data/KeyReader.h"

QVector<qint64> KeyReader::readBackward(int)
{
    return {};
}
