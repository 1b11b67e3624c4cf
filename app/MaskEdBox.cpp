#include "app/MaskEdBox.h"

#include "data/Columns.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <algorithm>

const QString MaskEdBox::TelephoneMask = QLatin1String(Columns::kTelephoneMask);
const QString MaskEdBox::ZipMask = QLatin1String(Columns::kZipMask);

bool MaskEdBox::fits(const QString& mask, const QString& text)
{
    // The masks here use "9" for a digit and no escapes: every other character of the mask stands for itself.
    const qsizetype separator = mask.lastIndexOf(QLatin1Char(';'));
    const QString positions = separator >= 0 ? mask.left(separator) : mask;
    const QChar blank = separator >= 0 && separator + 1 < mask.size() ? mask.at(separator + 1) : QLatin1Char(' ');
    if (text.size() != positions.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool digit = positions.at(i) == QLatin1Char('9');
        if (digit ? !(text.at(i).isDigit() || text.at(i) == blank) : text.at(i) != positions.at(i))
            return false;
    }
    return true;
}

MaskEdBox::MaskEdBox(const QString& mask, QWidget* parent) : QLineEdit(parent)
{
    // A telephone number or a zip reads left to right in Hebrew text too, and its mask with it.
    setLayoutDirection(Qt::LeftToRight);
    setInputMask(mask);
    const qsizetype separator = mask.lastIndexOf(QLatin1Char(';'));
    m_blank = separator >= 0 && separator + 1 < mask.size() ? mask.at(separator + 1) : QLatin1Char(' ');
    m_emptyText = displayText();
}

int MaskEdBox::lastTyped() const
{
    const QString shown = displayText();
    for (auto p = std::min(shown.size(), m_emptyText.size()) - 1; p >= 0; --p) {
        if (shown.at(p) != m_emptyText.at(p))
            return int(p);
    }
    return -1;
}

int MaskEdBox::firstEmptyBehindTyped() const
{
    const QString shown = displayText();
    const auto length = std::min(shown.size(), m_emptyText.size());
    for (auto p = qsizetype(lastTyped()) + 1; p < length; ++p) {
        if (m_emptyText.at(p) == m_blank && shown.at(p) == m_blank)
            return int(p);
    }
    return -1;
}

void MaskEdBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::MouseFocusReason:
        // The press that focused the box moves the caret after this; report the focus once the click is done.
        m_focusedByClick = true;
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        // The focus only comes back to this box (another program, a menu): the box keeps its caret and selection.
        break;
    default:
        Q_EMIT gotFocus();
        break;
    }
}

void MaskEdBox::focusOutEvent(QFocusEvent* event)
{
    m_focusedByClick = false;
    QLineEdit::focusOutEvent(event);
}

void MaskEdBox::mousePressEvent(QMouseEvent* event)
{
    m_pressedAt = cursorPositionAt(event->position().toPoint());
    QLineEdit::mousePressEvent(event);
}

void MaskEdBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // A mask takes no typing behind its blanks, and a click on a literal puts the caret back onto the digit before
    // it, to be typed over. A click behind everything typed means "go on typing", as in a plain text box.
    if (!hasSelectedText() && m_pressedAt > lastTyped()) {
        const int empty = firstEmptyBehindTyped();
        if (empty >= 0)
            setCursorPosition(empty);
    }
    if (m_focusedByClick) {
        m_focusedByClick = false;
        Q_EMIT gotFocus();
    }
}
