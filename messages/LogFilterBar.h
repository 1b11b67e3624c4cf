#pragma once

#include "data/Query.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;

// Which messages the log shows: "For:" one of the people messages were left for, "Open only", and a text looked
// for in From, To and the message. A small bar shown where the log has room beyond its design, and the same
// choices in the grid's context menu ("For", "Open Only", "Find in Messages...", "Show All Messages").
class LogFilterBar : public QWidget
{
    Q_OBJECT
public:
    explicit LogFilterBar(QWidget* parent);

    LogFilter filter() const;
    // The names "For:" offers; the chosen one stays chosen while it is among them.
    void setPeople(const QStringList& people);
    QList<QAction*> actions() const { return m_actions; }

    QComboBox* cmbFor;
    QCheckBox* chkOpen;
    QLineEdit* txtFind;

Q_SIGNALS:
    void changed();

private:
    void fillForMenu();
    void askForText();

    QMenu* m_forMenu;
    QAction* m_openOnly;
    QList<QAction*> m_actions;
};
