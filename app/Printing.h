#pragma once

#include "app/Printer.h"

#include <functional>
#include <memory>

class QWidget;

// Qt's printing, loaded from its module (see exchange/Modules.h) the first time something is printed.
namespace Printing {

struct Table
{
    int version;
    // A printer writing a PDF to `path`, at the printer's high resolution.
    std::unique_ptr<Printer> (*pdf)(const QString& path);
    // Qt's print preview of what `paint` draws; its print button asks for the printer and calls `paint` once more.
    void (*preview)(QWidget* parent, const std::function<void(Printer&)>& paint);
};
constexpr int kVersion = 1;
constexpr const char* kEntry = "tovrin_printing";
constexpr const char* kModuleName = "tovrin_printing";

// The module's table; throws DbError saying why printing is not available when no usable module was found.
const Table& table();

} // namespace Printing
