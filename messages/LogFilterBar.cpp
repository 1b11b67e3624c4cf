#include "messages/LogFilterBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>

LogFilterBar::LogFilterBar(QWidget* parent)
    : QWidget(parent), cmbFor(new QComboBox(this)), chkOpen(new QCheckBox(tr("Open only"), this)),
      txtFind(new QLineEdit(this)), m_forMenu(new QMenu(this)), m_openOnly(new QAction(tr("Open Only"), this))
{
    setObjectName(QStringLiteral("LogFilterBar"));
    cmbFor->setObjectName(QStringLiteral("cmbFor"));
    chkOpen->setObjectName(QStringLiteral("chkOpen"));
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setClearButtonEnabled(true);
    txtFind->setPlaceholderText(tr("From, To or message"));
    cmbFor->addItem(tr("Everyone"));
    cmbFor->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* forLabel = new QLabel(tr("For:"), this);
    forLabel->setBuddy(cmbFor);
    auto* findLabel = new QLabel(tr("Find:"), this);
    findLabel->setBuddy(txtFind);
    txtFind->setAccessibleName(tr("Find"));
    cmbFor->setAccessibleName(tr("For"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(forLabel);
    layout->addWidget(cmbFor);
    layout->addSpacing(12);
    layout->addWidget(chkOpen);
    layout->addSpacing(12);
    layout->addWidget(findLabel);
    layout->addWidget(txtFind, 1);

    connect(cmbFor, &QComboBox::currentIndexChanged, this, &LogFilterBar::changed);
    connect(txtFind, &QLineEdit::textChanged, this, &LogFilterBar::changed);
    m_openOnly->setCheckable(true);
    connect(chkOpen, &QCheckBox::toggled, m_openOnly, &QAction::setChecked);
    connect(m_openOnly, &QAction::toggled, chkOpen, &QCheckBox::setChecked);
    connect(chkOpen, &QCheckBox::toggled, this, &LogFilterBar::changed);

    auto* forAction = new QAction(tr("For"), this);
    forAction->setMenu(m_forMenu);
    connect(m_forMenu, &QMenu::aboutToShow, this, &LogFilterBar::fillForMenu);
    auto* find = new QAction(tr("Find in Messages..."), this);
    connect(find, &QAction::triggered, this, &LogFilterBar::askForText);
    auto* all = new QAction(tr("Show All Messages"), this);
    connect(all, &QAction::triggered, this, [this] {
        QSignalBlocker quiet(this);
        cmbFor->setCurrentIndex(0);
        chkOpen->setChecked(false);
        txtFind->clear();
        quiet.unblock();
        Q_EMIT changed();
    });
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_actions = {forAction, m_openOnly, find, all, separator};
}

LogFilter LogFilterBar::filter() const
{
    LogFilter filter;
    if (cmbFor->currentIndex() > 0)
        filter.forName = cmbFor->currentText();
    filter.openOnly = chkOpen->isChecked();
    filter.text = txtFind->text();
    return filter;
}

void LogFilterBar::setPeople(const QStringList& people)
{
    const QSignalBlocker quiet(cmbFor);
    const QString chosen = cmbFor->currentIndex() > 0 ? cmbFor->currentText() : QString();
    while (cmbFor->count() > 1)
        cmbFor->removeItem(1);
    cmbFor->addItems(people);
    const int index = chosen.isEmpty() ? 0 : int(people.indexOf(chosen)) + 1;
    cmbFor->setCurrentIndex(std::max(index, 0));
}

void LogFilterBar::fillForMenu()
{
    m_forMenu->clear();
    for (int i = 0; i < cmbFor->count(); ++i) {
        QAction* item = m_forMenu->addAction(cmbFor->itemText(i));
        item->setCheckable(true);
        item->setChecked(i == cmbFor->currentIndex());
        connect(item, &QAction::triggered, cmbFor, [this, i] { cmbFor->setCurrentIndex(i); });
    }
}

void LogFilterBar::askForText()
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWidget(), tr("Find in Messages"),
                                               tr("Show the messages whose From, To or text holds:"), QLineEdit::Normal,
                                               txtFind->text(), &ok);
    if (ok)
        txtFind->setText(text);
}
