#pragma once

#include <QDialog>
#include <QList>
#include <QUrl>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class DavClient;

// "Sync Settings...": the server's address, the user and the password; "Find Address Books" lists the user's
// address books, and each book is given the one of its name, or the one the user chooses (a new one of its name
// only on the user's choice while the server has others; where it has none, new ones are proposed). OK
// keeps the settings in the directory file and the password outside it, and says where. The message log's task list
// is chosen the same way ("Messages", made where missing), or none.
class SyncSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SyncSettingsDialog(QWidget* parent = nullptr);

    QLineEdit* txtServer;
    QLineEdit* txtUser;
    QLineEdit* txtPassword;
    QPushButton* cmdFind;
    QComboBox* cmbPersonal;
    QComboBox* cmbBusiness;
    QComboBox* cmbTasks;
    QLabel* lblStatus;
    QPushButton* cmdOK;

    void cmdFind_Click();
    void cmdOK_Click();
    // OK takes settings once each book has its address book.
    void chosen();
    // While the server is asked, Cancel (and Escape, and closing) gives the asking up instead of the dialog.
    void reject() override;

private:
    // The server's address as typed; a user name or password written into it moves to its own box.
    QUrl serverAddress();
    // Runs `ask` (requests through a client given `cancelled`) with the boxes disabled and the window answering.
    template <class Ask> auto asking(const QString& what, Ask ask);
    // Lists the task lists on the server in cmbTasks, the one the set-up gives chosen; a note when there are none.
    QString findTaskLists(DavClient& client, const QUrl& server);
    // The chosen task list's address, made first when it is a new one; false after saying why it is not.
    bool taskList(DavClient& client, QUrl& url);

    bool m_asking = false;
    bool m_cancelled = false;
    QUrl m_home;
    QUrl m_taskHome;
    QString m_certificate; // accepted by the user though the system does not trust it
};
