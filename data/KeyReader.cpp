#include "data/KeyReader.h"

std::vector<std::int64_t> KeyReader::readBackward(int)
{
    return {};
}

std::vector<std::int64_t> KeyReader::readAt(int, int, bool)
{
    return {};
}
