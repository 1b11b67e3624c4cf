#pragma once

#include <QLineEdit>

// A one-line box with an input mask that behaves for the user like a masked edit box: the value to store is the
// text as shown (displayText(): literals and blanks included, so digits keep their places), a click into the
// untyped tail puts the caret where typing goes on, and gotFocus() comes after the toolkit has placed the caret
// for the focus it got, so a handler can change the selection.
class MaskEdBox : public QLineEdit
{
    Q_OBJECT
public:
    // `mask` is a Qt input mask with its blank character, e.g. "99999;_".
    explicit MaskEdBox(const QString& mask, QWidget* parent = nullptr);

    // The position of the last character typed, -1 when nothing is typed.
    int lastTyped() const;
    // The first position still empty behind the last character typed, -1 when there is none.
    int firstEmptyBehindTyped() const;

Q_SIGNALS:
    // The box has just gained the focus from another control: by key, by code, or by the click that is now done.
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_emptyText; // what the box shows with nothing typed
    QChar m_blank;
    bool m_focusedByClick = false;
    int m_pressedAt = -1; // the position under the mouse, before the mask moved the caret off a literal
};
