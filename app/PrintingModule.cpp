// The printing module (see Printing.h): Qt's printer and print preview behind one table.
#include "app/Printing.h"

#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QPrinter& printer) : m_printer(printer) {}
    QPagedPaintDevice& device() override { return m_printer; }
    QString outputFileName() const override { return m_printer.outputFileName(); }
    void setOutputFileName(const QString& path) override { m_printer.setOutputFileName(path); }
    bool writesPdf() const override { return m_printer.outputFormat() == QPrinter::PdfFormat; }
    bool drawsPreview() const override
    {
        return m_printer.paintEngine() && m_printer.paintEngine()->type() == QPaintEngine::Picture;
    }

private:
    QPrinter& m_printer;
};

// A printer of its own, writing a PDF.
class PdfPrinter : public QtPrinter
{
public:
    explicit PdfPrinter(const QString& path) : QtPrinter(m_own), m_own(QPrinter::HighResolution)
    {
        m_own.setOutputFormat(QPrinter::PdfFormat);
        m_own.setOutputFileName(path);
    }

private:
    QPrinter m_own;
};

std::unique_ptr<Printer> pdf(const QString& path)
{
    return std::make_unique<PdfPrinter>(path);
}

void preview(QWidget* parent, const std::function<void(Printer&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* target) {
        QtPrinter access(*target);
        paint(access);
    });
    dialog.exec();
}

const Printing::Table kTable{Printing::kVersion, pdf, preview};

} // namespace

extern "C" Q_DECL_EXPORT const Printing::Table* tovrin_printing()
{
    return &kTable;
}
