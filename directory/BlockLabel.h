#pragma once

#include <QLabel>

// A label for a block of text lines that sizes itself to them. Lines follow each other at the font's own height,
// without the extra leading Qt adds, as a label of the design sets them: the six lines of the contact block then
// fit inside the frame drawn around them. Lines end with CR LF or LF.
class BlockLabel : public QLabel
{
    Q_OBJECT
public:
    explicit BlockLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList lines() const;
};
