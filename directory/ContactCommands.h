#pragma once

#include <QObject>
#include <functional>

class DataControl;
class QAction;
class QWidget;

// The directory window's commands for contacts in and out: import, export of a book or both, printing and PDF.
// They live in the book grids' context menu (right click, the Menu key), on Ctrl+P and on files dropped on the
// window, so the window's layout stays as it is.
class ContactCommands : public QObject
{
    Q_OBJECT
public:
    // `book`: the book the window shows ("Personal" or "Business"). `idle`: lets the window's grid finish reading
    // (an import writes, and a grid still reading would hold the file).
    ContactCommands(QWidget* window, DataControl* datTel, std::function<QString()> book, std::function<void()> idle);

    // In the order of the context menu.
    QList<QAction*> actions() const { return m_actions; }

    void importFiles(const QStringList& files);
    void exportBooks(bool both);
    void printBook(bool toPdf);

    // Files an import takes, by their names.
    static bool importable(const QString& path);

Q_SIGNALS:
    // An import wrote entries: `key` is the first new entry of `book` (the book the window shows when it received
    // some, else the one that did).
    void imported(const QString& book, qint64 key);

private:
    QWidget* m_window;
    DataControl* m_datTel;
    std::function<QString()> m_book;
    std::function<void()> m_idle;
    QList<QAction*> m_actions;
};
