#pragma once

#include <QString>

class QPagedPaintDevice;

// A printer as the printouts need it. The printer itself (Qt's, with its dialogs) lives in the printing module
// (see Printing.h), so that the program does not load Qt's printing library at every start.
class Printer
{
public:
    virtual ~Printer() = default;
    virtual QPagedPaintDevice& device() = 0;
    // The file the printer writes (a PDF, "print to file"); empty for paper.
    virtual QString outputFileName() const = 0;
    virtual void setOutputFileName(const QString& path) = 0;
    virtual bool writesPdf() const = 0;
    // True while it draws the pages of a print preview, whatever file it names.
    virtual bool drawsPreview() const = 0;
};
