#include "ImportPreview.h"

#include "Encodings.h"
#include "FileDialogs.h"
#include "MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<ContactImport::Plan> ImportPreview::ask(QWidget* parent, const QStringList& files,
                                                      const QString& databasePath)
{
    QList<std::pair<QString, QByteArray>> read;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            MessageBox::critical(parent, QStringLiteral("Cannot read \"%1\": %2.").arg(path, file.errorString()));
            return std::nullopt;
        }
        read.append({QFileInfo(path).fileName(), file.readAll()});
    }
    ImportPreview preview(parent, read, databasePath);
    if (preview.m_plan.added.isEmpty() && preview.m_plan.duplicates.isEmpty()) {
        MessageBox::critical(parent, QStringLiteral("Nothing in the chosen files can be imported.\n\n") +
                                         ContactImport::summary(preview.m_plan));
        return std::nullopt;
    }
    if (MessageBox::testMode()) {
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
    setWindowTitle(QStringLiteral("Import Contacts"));
    auto* layout = new QVBoxLayout(this);

    auto* encodingRow = new QHBoxLayout;
    auto* encodingLabel = new QLabel(QStringLiteral("Text without a named encoding is read as:"), this);
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("cmbEncoding"));
    m_encoding->addItems(Encodings::offered().mid(1)); // UTF-8 is taken whenever the text is valid UTF-8
    encodingLabel->setBuddy(m_encoding);
    encodingRow->addWidget(encodingLabel);
    encodingRow->addWidget(m_encoding, 1);
    layout->addLayout(encodingRow);

    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("txtSummary"));
    m_summary->setReadOnly(true);
    m_summary->setMinimumSize(560, 280);
    layout->addWidget(m_summary, 1);

    m_duplicates = new QCheckBox(QStringLiteral("Import the entries already in the directory as well"), this);
    m_duplicates->setObjectName(QStringLiteral("chkDuplicates"));
    layout->addWidget(m_duplicates);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("cmdImport"));
    QPushButton* save = buttons->addButton(QStringLiteral("Save List..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSaveList"));
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &ImportPreview::saveList);
    connect(m_encoding, &QComboBox::currentTextChanged, this, &ImportPreview::reread);
    connect(m_duplicates, &QCheckBox::toggled, this, [this] { m_summary->setPlainText(ContactImport::summary(chosenPlan())); });

    reread();
    encodingLabel->setVisible(m_encodingUsed);
    m_encoding->setVisible(m_encodingUsed);
}

void ImportPreview::reread()
{
    ReadResult all;
    m_encodingUsed = false;
    for (const auto& [name, bytes] : std::as_const(m_files)) {
        bool used = false;
        const ReadResult read = ContactImport::readBytes(bytes, name, m_encoding->currentText(), &used);
        m_encodingUsed = m_encodingUsed || used;
        all.contacts += read.contacts;
        for (ExchangeProblem problem : read.problems) {
            if (m_files.size() > 1)
                problem.action = QStringLiteral("%1 (in %2)").arg(problem.action, name);
            all.problems.append(problem);
        }
    }
    m_plan = ContactImport::plan(all, m_databasePath);
    m_summary->setPlainText(ContactImport::summary(chosenPlan()));
}

ContactImport::Plan ImportPreview::chosenPlan() const
{
    ContactImport::Plan plan = m_plan;
    if (m_duplicates->isChecked()) {
        for (const Contact& c : std::as_const(plan.duplicates))
            ++(c.category == QLatin1String("Business") ? plan.business : plan.personal);
        plan.added += plan.duplicates;
        plan.duplicates.clear();
    }
    return plan;
}

void ImportPreview::saveList()
{
    const QString path = FileDialogs::saveFile(this, QStringLiteral("Save the List"), QStringLiteral("Text (*.txt)"));
    if (!path.isEmpty())
        FileDialogs::writeFile(this, path, m_summary->toPlainText().toUtf8());
}
