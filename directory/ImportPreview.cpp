#include "directory/ImportPreview.h"

#include "app/ChoiceBox.h"
#include "app/FileDialogs.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "directory/PreviewEntries.h"
#include "exchange/Encodings.h"
#include "exchange/PhoneNumbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QList<int> s_nextUnchecked;
QString s_nextRegion;
std::function<void(QDialog&)> s_nextLook;
} // namespace

void ImportPreview::setNextLook(std::function<void(QDialog&)> look)
{
    s_nextLook = std::move(look);
}

void ImportPreview::setNextRegion(const QString& code)
{
    s_nextRegion = code;
}

void ImportPreview::setNextUnchecked(const QList<int>& rows)
{
    s_nextUnchecked = rows;
}

std::optional<ContactImport::Plan> ImportPreview::ask(QWidget* parent, const QStringList& files,
                                                      const QString& databasePath)
{
    QList<std::pair<QString, QByteArray>> read;
    for (const QString& path : files) {
        // Regular files of a bounded size only (see ContactImport::load): a pipe or a device dropped here is refused.
        ContactImport::File file = ContactImport::load(path);
        if (!file.error.isEmpty()) {
            MessageBox::critical(parent, tr("%1\n\nNothing was imported.").arg(file.error));
            return std::nullopt;
        }
        read.append({QFileInfo(path).fileName(), std::move(file.bytes)});
    }
    ImportPreview preview(parent, read, databasePath);
    // A file whose columns the user can still name is something to show, even when nothing is read from it yet.
    const bool unnamed = std::any_of(preview.m_columns.begin(), preview.m_columns.end(),
                                     [](const QList<QComboBox*>& columns) { return !columns.isEmpty(); });
    if (preview.m_plan.added.isEmpty() && preview.m_plan.duplicates.isEmpty() && preview.m_plan.messages.isEmpty() &&
        !unnamed) {
        MessageBox::critical(
            parent,
            tr("Nothing in the chosen files can be imported.\n\n%1").arg(ContactImport::summary(preview.m_plan)));
        return std::nullopt;
    }
    if (MessageBox::testMode()) {
        if (const QString code = std::exchange(s_nextRegion, {}); !code.isEmpty())
            preview.m_region->setCurrentIndex(preview.m_region->findData(code));
        for (const int row : std::exchange(s_nextUnchecked, {}))
            preview.m_entries->setData(preview.m_entries->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
        if (const auto look = std::exchange(s_nextLook, {}))
            look(preview);
        // Tests answer the preview as they answer a question.
        if (!MessageBox::question(parent, preview.m_summary->toPlainText()))
            return std::nullopt;
        return preview.chosenPlan();
    }
    if (preview.exec() != QDialog::Accepted)
        return std::nullopt;
    return preview.chosenPlan();
}

ImportPreview::ImportPreview(QWidget* parent, QList<std::pair<QString, QByteArray>> files, QString databasePath)
    : QDialog(parent), m_files(std::move(files)), m_databasePath(std::move(databasePath))
{
    setObjectName(QStringLiteral("ImportPreview"));
    setWindowTitle(tr("Import Contacts"));
    auto* layout = new QVBoxLayout(this);
    QLabel* encodingLabel = addEncodingRow(layout);
    addRegionRow(layout);
    for (const auto& [name, bytes] : std::as_const(m_files))
        m_columns.append(addColumnChoosers(layout, name, bytes));
    addEntries(layout);
    addButtons(layout);

    reread();
    encodingLabel->setVisible(m_encodingUsed);
    m_encoding->setVisible(m_encodingUsed);

    // As large as it wants to be, but never larger than the screen it opens on, however small or scaled.
    const QScreen* shownOn = parent ? parent->screen() : screen();
    if (shownOn)
        resize(sizeHint().expandedTo(QSize(900, 640)).boundedTo(shownOn->availableGeometry().size() * 0.9));
}

QLabel* ImportPreview::addEncodingRow(QVBoxLayout* layout)
{
    auto* encodingRow = new QHBoxLayout;
    auto* encodingLabel = new QLabel(tr("Text without a named encoding is read as:"), this);
    m_encoding = new ChoiceBox(this);
    m_encoding->setObjectName(QStringLiteral("cmbEncoding"));
    m_encoding->addItems(Encodings::offered().mid(1));            // UTF-8 is taken whenever the text is valid UTF-8
    m_encoding->setCurrentText(Encodings::defaultFor(QLocale())); // as the command line reads it
    encodingLabel->setBuddy(m_encoding);
    encodingRow->addWidget(encodingLabel);
    encodingRow->addWidget(m_encoding, 1);
    layout->addLayout(encodingRow);
    return encodingLabel;
}

void ImportPreview::addRegionRow(QVBoxLayout* layout)
{
    // Which country the numbers are read in is said, and can be changed; where the locale names none, the preview
    // asks, and the choice stays for the imports after this one.
    auto* regionRow = new QHBoxLayout;
    auto* regionLabel = new QLabel(tr("Numbers without a country code are dialled in:"), this);
    m_region = Settings::regionChooser(this);
    regionLabel->setBuddy(m_region);
    regionRow->addWidget(regionLabel);
    regionRow->addWidget(m_region, 1);
    layout->addLayout(regionRow);
    m_regionNote = new QLabel(tr("The system names no country, so the numbers of this import are read in none: numbers "
                                 "with a country code are left out until the country is chosen above."),
                              this);
    m_regionNote->setObjectName(QStringLiteral("lblRegionNote"));
    m_regionNote->setWordWrap(true);
    m_regionNote->setVisible(m_region->currentData().toString() == QLatin1String("ZZ"));
    layout->addWidget(m_regionNote);
    connect(m_region, &QComboBox::currentIndexChanged, this, [this] {
        const QString code = m_region->currentData().toString();
        if (code == QLatin1String("ZZ"))
            return;
        PhoneNumbers::setRegion(code, true);
        m_regionNote->hide();
        reread();
    });
}

QList<QComboBox*> ImportPreview::addColumnChoosers(QVBoxLayout* layout, const QString& name, const QByteArray& bytes)
{
    // The columns of a CSV file: the user says what each holds, seeing its first row. A file without a header line
    // must be told; one with a header starts from its names, which the user may change or leave out.
    QList<QComboBox*> combos;
    const ContactImport::CsvSample sample = ContactImport::csvSample(bytes, name, QString());
    const bool named = !sample.header.isEmpty();
    const int columns = int(named ? sample.header.size() : sample.firstRow.size());
    if (columns == 0)
        return combos;
    auto* box = new QGroupBox(named ? tr("Columns of %1 (its header, its first row)").arg(name)
                                    : tr("Columns of %1 (its first row)").arg(name));
    auto* grid = new QGridLayout(box);
    for (int c = 0; c < columns; ++c) {
        QString shown = sample.firstRow.value(c);
        if (named)
            shown = sample.header.at(c) + QStringLiteral(": ") + shown;
        auto* value = new QLabel(fontMetrics().elidedText(shown, Qt::ElideRight, 160), box);
        auto* combo = new ChoiceBox(box);
        combo->setObjectName(QStringLiteral("cmbColumn%1").arg(c + 1));
        if (named && !ContactImport::columnChoices().contains(sample.header.at(c)))
            combo->addItem(sample.header.at(c)); // read as its name says, groups and all
        combo->addItems(ContactImport::columnChoices());
        if (named)
            combo->setCurrentText(sample.header.at(c));
        combo->setAccessibleName(tr("Column %1 of %2").arg(c + 1).arg(name));
        value->setBuddy(combo);
        grid->addWidget(value, c / 4 * 2, c % 4);
        grid->addWidget(combo, c / 4 * 2 + 1, c % 4);
        connect(combo, &QComboBox::currentTextChanged, this, &ImportPreview::reread);
        combos.append(combo);
    }
    // A file of many columns scrolls rather than pushing the table off the screen; with more room the choosers take
    // it, up to all of them.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(box);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(std::min(box->sizeHint().height() + 4, 90));
    scroll->setMaximumHeight(box->sizeHint().height() + 4);
    layout->addWidget(scroll, 1);
    return combos;
}

void ImportPreview::addEntries(QVBoxLayout* layout)
{
    // The entries as they will be stored, in the text the chosen encoding gives.
    m_entries = new PreviewEntries(this);
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("tblEntries"));
    table->setAccessibleName(tr("Entries to import"));
    table->setModel(m_entries);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    // Widths from the first rows only: a file of a hundred thousand entries is not measured row by row.
    table->horizontalHeader()->setResizeContentsPrecision(200);
    connect(m_entries, &QAbstractItemModel::modelReset, table, &QTableView::resizeColumnsToContents);
    table->setMinimumSize(360, 120);
    layout->addWidget(table, 2);

    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("txtSummary"));
    m_summary->setReadOnly(true);
    m_summary->setMinimumHeight(60);
    layout->addWidget(m_summary, 1);

    m_duplicates = new QCheckBox(tr("Import the entries already in the directory as well"), this);
    m_duplicates->setObjectName(QStringLiteral("chkDuplicates"));
    layout->addWidget(m_duplicates);
}

void ImportPreview::addButtons(QVBoxLayout* layout)
{
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("cmdImport"));
    QPushButton* save = buttons->addButton(tr("Save List..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSaveList"));
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &ImportPreview::saveList);
    connect(m_encoding, &QComboBox::currentTextChanged, this, &ImportPreview::reread);
    connect(m_duplicates, &QCheckBox::toggled, m_entries, &PreviewEntries::checkDuplicates);
    connect(m_entries, &PreviewEntries::choiceChanged, this,
            [this] { m_summary->setPlainText(ContactImport::summary(chosenPlan())); });
}

void ImportPreview::reread()
{
    ReadResult all;
    m_encodingUsed = false;
    for (int f = 0; f < m_files.size(); ++f) {
        const auto& [name, bytes] = m_files.at(f);
        QStringList columnNames;
        for (const QComboBox* combo : m_columns.value(f))
            columnNames << combo->currentText();
        bool used = false;
        ContactImport::gather(all, ContactImport::readBytes(bytes, name, m_encoding->currentText(), &used, columnNames),
                              name, m_files.size() > 1);
        m_encodingUsed = m_encodingUsed || used;
    }
    m_plan = ContactImport::plan(std::move(all), m_databasePath);
    m_entries->setPlan(m_plan); // says the choice changed, which writes the summary
    if (m_duplicates->isChecked())
        m_entries->checkDuplicates(true);
}

ContactImport::Plan ImportPreview::chosenPlan() const
{
    return m_entries->chosenPlan();
}

void ImportPreview::saveList()
{
    const QString path = FileDialogs::saveFile(this, tr("Save the List"), tr("Text (*.txt)"));
    if (!path.isEmpty())
        FileDialogs::writeFile(this, path, m_summary->toPlainText().toUtf8());
}
