#include "messages/MessageReader.h"

#include "app/MessageBox.h"
#include "data/Book.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* line(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QString stateText(const MessageLog::State& state)
{
    QStringList parts;
    if (state.done) {
        const QDateTime at = QDateTime::fromString(state.doneAt, Qt::ISODate).toLocalTime();
        parts << (at.isValid() ? MessageReader::tr("Done on %1 by %2")
                                     .arg(QLocale().toString(at, QLocale::ShortFormat), state.doneBy)
                               : MessageReader::tr("Done"));
    } else {
        parts << MessageReader::tr("Open");
    }
    if (state.callBack)
        parts << MessageReader::tr("Please call back");
    if (state.urgent)
        parts << MessageReader::tr("Urgent");
    return parts.join(QStringLiteral(" \u00b7 "));
}

// The stored name of a book is data; the reader names it in the user's language.
QString bookCaption(const QString& book)
{
    if (book == Book::Business.name())
        return MessageReader::tr("Business");
    if (book == Book::Personal.name())
        return MessageReader::tr("Personal");
    return book;
}

} // namespace

MessageReader::MessageReader(QWidget* parent, const Message& message, const QList<MessageLog::Caller>& callers)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MessageReader"));
    setWindowTitle(tr("Message from %1").arg(message.from.simplified()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line(this, "lblWhen", QStringLiteral("%1  %2").arg(message.date, message.time)));
    layout->addWidget(line(this, "lblFrom", tr("From: %1").arg(message.from)));
    layout->addWidget(line(this, "lblTo", tr("To: %1").arg(message.to)));
    layout->addWidget(line(this, "lblState", stateText(message.state)));
    auto* text = new QPlainTextEdit(message.text, this);
    text->setObjectName(QStringLiteral("txtMessage"));
    text->setReadOnly(true);
    text->setAccessibleName(tr("Message"));
    layout->addWidget(text, 1);
    for (const MessageLog::Caller& caller : callers) {
        layout->addWidget(line(this, "lblCaller", tr("%1 (%2)").arg(caller.name, bookCaption(caller.book))));
        auto* row = new QHBoxLayout;
        for (const auto& [caption, number] : caller.numbers) {
            auto* call = new QPushButton(tr("Call %1 %2").arg(caption, number), this);
            call->setObjectName(QStringLiteral("cmdCall"));
            connect(call, &QPushButton::clicked, this, [this, number = number] { MessageReader::call(this, number); });
            row->addWidget(call);
        }
        auto* open = new QPushButton(tr("Open Entry"), this);
        open->setObjectName(QStringLiteral("cmdOpenEntry"));
        connect(open, &QPushButton::clicked, this, [this, entry = caller.entry] {
            Q_EMIT openEntryRequested(entry);
            accept();
        });
        row->addWidget(open);
        row->addStretch();
        layout->addLayout(row);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(QSize(480, 360)));
}

void MessageReader::call(QWidget* parent, const QString& number)
{
    QString dialled;
    for (const QChar ch : number) {
        if (ch.isDigit() || (ch == QLatin1Char('+') && dialled.isEmpty()))
            dialled += ch;
    }
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral("tel:") + dialled)))
        MessageBox::warning(parent, tr("No program on this computer takes telephone numbers (tel: links), so %1 "
                                       "could not be called from here.")
                                        .arg(number));
}
