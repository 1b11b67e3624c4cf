#include "app/SyncSettingsDialog.h"

#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/SyncScheduler.h"
#include "data/Book.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "sync/Credentials.h"
#include "sync/Discovery.h"
#include "sync/SyncFile.h"
#include "sync/SyncSettings.h"
#include "sync/SyncSetup.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

namespace {

// The item of a book's address book: its URL, or, for one to be made, the name it gets.
constexpr int kUrlRole = Qt::UserRole;
constexpr int kNewRole = Qt::UserRole + 1;

} // namespace

SyncSettingsDialog::SyncSettingsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Sync Settings"));
    txtServer = new QLineEdit(this);
    txtServer->setObjectName(QStringLiteral("txtServer"));
    txtServer->setPlaceholderText(QStringLiteral("https://dav.example.org/"));
    txtServer->setMinimumWidth(txtServer->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    txtUser = new QLineEdit(this);
    txtUser->setObjectName(QStringLiteral("txtUser"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdFind = new QPushButton(tr("Find Address Books"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmbPersonal = new QComboBox(this);
    cmbPersonal->setObjectName(QStringLiteral("cmbPersonal"));
    cmbBusiness = new QComboBox(this);
    cmbBusiness->setObjectName(QStringLiteral("cmbBusiness"));
    cmbTasks = new QComboBox(this);
    cmbTasks->setObjectName(QStringLiteral("cmbTasks"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOK = buttons->button(QDialogButtonBox::Ok);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);

    auto* form = new QFormLayout(this);
    form->addRow(tr("Server:"), txtServer);
    form->addRow(tr("User name:"), txtUser);
    form->addRow(tr("Password:"), txtPassword);
    form->addRow(QString(), cmdFind);
    form->addRow(QStringLiteral("\"Personal\" syncs with:"), cmbPersonal);
    form->addRow(QStringLiteral("\"Business\" syncs with:"), cmbBusiness);
    form->addRow(tr("Messages sync with:"), cmbTasks);
    form->addRow(lblStatus);
    form->addRow(buttons);

    connect(cmdFind, &QPushButton::clicked, this, &SyncSettingsDialog::cmdFind_Click);
    for (QComboBox* box : {cmbPersonal, cmbBusiness})
        connect(box, &QComboBox::currentIndexChanged, this, &SyncSettingsDialog::chosen);
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncSettingsDialog::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    try {
        const auto db = Database::open(Module1::databasePath());
        const SyncSettings settings = SyncSettings::read(*db);
        txtServer->setText(settings.server.toString());
        txtUser->setText(settings.user);
        m_certificate = settings.certificate;
    } catch (const DbError&) {
        // A file that cannot be read leaves the boxes empty; OK says why it cannot keep them.
    }
}

template <class Ask> auto SyncSettingsDialog::asking(const QString& what, Ask ask)
{
    m_asking = true;
    m_cancelled = false;
    const QList<QWidget*> boxes{txtServer, txtUser, txtPassword, cmdFind, cmbPersonal, cmbBusiness, cmbTasks, cmdOK};
    QList<bool> enabled;
    for (QWidget* box : boxes) {
        enabled << box->isEnabled();
        box->setEnabled(false);
    }
    lblStatus->setText(what);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const auto answer = ask([this] { return m_cancelled; });
    QApplication::restoreOverrideCursor();
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setEnabled(enabled.at(i));
    m_asking = false;
    return answer;
}

void SyncSettingsDialog::reject()
{
    if (m_asking)
        m_cancelled = true;
    else
        QDialog::reject();
}

QUrl SyncSettingsDialog::serverAddress()
{
    QUrl server = QUrl::fromUserInput(txtServer->text().trimmed());
    if (server.userInfo().isEmpty())
        return server;
    QString user = txtUser->text();
    QString password = txtPassword->text();
    SyncSettings::takeUserInfo(server, user, password);
    txtServer->setText(server.toString());
    txtUser->setText(user);
    txtPassword->setText(password);
    return server;
}

void SyncSettingsDialog::cmdFind_Click()
{
    cmbPersonal->clear();
    cmbBusiness->clear();
    cmbTasks->clear();
    cmdOK->setEnabled(false);
    const QUrl server = serverAddress();
    DavClient client(server, txtUser->text(), txtPassword->text(), SyncFile::transport());
    client.setPinnedCertificate(m_certificate);
    const Discovery::Result found =
        asking(tr("Looking for address books at %1...").arg(server.host()), [&](auto cancelled) {
            client.setCancel(cancelled);
            return Discovery::find(client, server);
        });
    if (!found.error.isEmpty() && !client.untrustedCertificate().isEmpty() &&
        MessageBox::question(this, tr("The certificate of %1 is not trusted by this system. Its SHA-256 "
                                      "fingerprint is\n\n%2\n\nTrust it only if it is the one of your "
                                      "server. Trust this certificate for the sync?")
                                       .arg(server.host(), client.untrustedCertificate()))) {
        m_certificate = client.untrustedCertificate();
        cmdFind_Click();
        return;
    }
    if (!found.error.isEmpty()) {
        lblStatus->setText(m_cancelled ? tr("The search for address books was cancelled.") : found.error);
        return;
    }
    m_home = found.home;
    for (QComboBox* box : {cmbPersonal, cmbBusiness}) {
        for (const Discovery::AddressBook& book : found.books)
            box->addItem(book.name, book.url);
    }
    // Each book's address book as the command line's set-up gives it; the user may choose another, or a new one of
    // the book's name where the server has none of that name.
    const SyncSetup::Choice choice = SyncSetup::choose(found);
    QStringList unchosen;
    for (const auto& [box, pick, book] : {std::tuple{cmbPersonal, choice.personal, &Book::Personal},
                                          std::tuple{cmbBusiness, choice.business, &Book::Business}}) {
        const QString name = book->name();
        if (!found.given && found.home.isValid() && !SyncSetup::named(found.books, name)) {
            box->addItem(tr("New address book \"%1\"").arg(name));
            box->setItemData(box->count() - 1, name, kNewRole);
        }
        if (pick.found >= 0) {
            box->setCurrentIndex(pick.found);
        } else if (!pick.create.isEmpty()) {
            box->setCurrentIndex(box->count() - 1);
        } else {
            // The user's own address books are never passed over for a new empty one unasked: the user chooses.
            box->setCurrentIndex(-1);
            unchosen << QStringLiteral("\"%1\"").arg(name);
        }
    }
    const QString tasks = findTaskLists(client, server);
    if (found.given)
        lblStatus->setText(tr("The address given is an address book: it takes both books.") + tasks);
    else if (!unchosen.isEmpty())
        lblStatus->setText(tr("%1 address books found: choose one for %2.")
                               .arg(found.books.size())
                               .arg(unchosen.join(tr(" and for "))) +
                           tasks);
    else
        lblStatus->setText(tr("%1 address books found.").arg(found.books.size()) + tasks);
    chosen();
}

QString SyncSettingsDialog::findTaskLists(DavClient& client, const QUrl& server)
{
    const Discovery::Result found =
        asking(tr("Looking for task lists at %1...").arg(server.host()), [&](auto cancelled) {
            client.setCancel(cancelled);
            return Discovery::findTaskLists(client, server);
        });
    m_taskHome = found.home;
    for (const Discovery::AddressBook& list : found.books)
        cmbTasks->addItem(list.name, list.url);
    const SyncSetup::Pick pick = SyncSetup::chooseTaskList(found.books);
    if (found.error.isEmpty() && pick.found < 0) {
        cmbTasks->addItem(tr("New task list \"%1\"").arg(pick.create));
        cmbTasks->setItemData(cmbTasks->count() - 1, pick.create, kNewRole);
    }
    cmbTasks->addItem(tr("None: the messages do not sync"));
    cmbTasks->setCurrentIndex(pick.found >= 0 ? pick.found : cmbTasks->count() - (found.error.isEmpty() ? 2 : 1));
    return found.error.isEmpty() ? QString() : QLatin1Char(' ') + tr("No task lists: %1").arg(found.error);
}

bool SyncSettingsDialog::taskList(DavClient& client, QUrl& url)
{
    const QString newName = cmbTasks->currentData(kNewRole).toString();
    url = cmbTasks->currentData(kUrlRole).toUrl();
    if (newName.isEmpty())
        return true;
    QString error;
    url = asking(tr("Making the task list \"%1\"...").arg(newName), [&](auto cancelled) {
        client.setCancel(cancelled);
        return Discovery::createTaskList(client, m_taskHome, newName, error);
    });
    if (error.isEmpty())
        return true;
    lblStatus->setText(m_cancelled ? tr("Cancelled: the settings were not kept.") : error);
    return false;
}

void SyncSettingsDialog::chosen()
{
    cmdOK->setEnabled(cmbPersonal->currentIndex() >= 0 && cmbBusiness->currentIndex() >= 0);
}

void SyncSettingsDialog::cmdOK_Click()
{
    SyncSettings settings;
    settings.server = serverAddress();
    settings.user = txtUser->text();
    settings.certificate = m_certificate;
    DavClient client(settings.server, settings.user, txtPassword->text(), SyncFile::transport());
    client.setPinnedCertificate(m_certificate);
    for (const auto& [box, url] :
         {std::pair{cmbPersonal, &settings.personal}, std::pair{cmbBusiness, &settings.business}}) {
        const QString newName = box->currentData(kNewRole).toString();
        if (newName.isEmpty()) {
            *url = box->currentData(kUrlRole).toUrl();
            continue;
        }
        QString error;
        *url = asking(tr("Making the address book \"%1\"...").arg(newName), [&](auto cancelled) {
            client.setCancel(cancelled);
            return Discovery::create(client, m_home, newName, error);
        });
        if (!error.isEmpty()) {
            lblStatus->setText(m_cancelled ? tr("Cancelled: the settings were not kept.") : error);
            return;
        }
    }
    if (!taskList(client, settings.tasks))
        return;
    Credentials::Kept kept;
    try {
        const auto db = Database::open(Module1::databasePath());
        kept = SyncSetup::keep(*db, settings, txtPassword->text());
    } catch (const DbError& error) {
        MessageBox::warning(this, error.description());
        return;
    }
    if (!kept.ok)
        MessageBox::warning(this, tr("The password could not be kept (%1). Each sync will fail until "
                                     "it can be.")
                                      .arg(kept.note));
    else if (!kept.note.isEmpty())
        MessageBox::information(this, tr("The password is kept in the file %1, readable by you alone, "
                                         "because %2.")
                                          .arg(kept.where, kept.note));
    accept();
    SyncScheduler::instance().runNow();
}
