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
    // The masks of the stored numbers: a telephone ("050 - 1234567") and a zip code. "9" takes a digit only (a "#"
    // would also take "+" and "-"); an empty position shows "_".
    static const QString TelephoneMask;
    static const QString ZipMask;

    // `mask` is a Qt input mask with its blank character, e.g. "99999;_".
    explicit MaskEdBox(const QString& mask, QWidget* parent = nullptr);

    // True when `text` is in the form the box stores: as long as the mask, a digit or the blank where the mask takes
    // a digit, the mask's own characters elsewhere. Only such a text can be shown in the box without changing it.
    static bool fits(const QString& mask, const QString& text);

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
