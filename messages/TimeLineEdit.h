#pragma once

#include <QLineEdit>

// A time field that shows its time as "hh:mm" (24-hour clock) while it does not have the focus, and its full
// text, seconds included, while the user edits it. fullText() is always the full text: that is what gets stored.
// A text that is no time is shown as it stands.
class TimeLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TimeLineEdit(QWidget* parent = nullptr);

    QString fullText() const;
    void setFullText(const QString& text);

    // The "hh:mm" form of a time text read in the default locale; the text itself when it is no time.
    static QString shortForm(const QString& text);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showFull();
    void showShort();

    QString m_full;
    bool m_showingFull = false;
};
