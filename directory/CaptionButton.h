#pragma once

#include <QPushButton>

// A command button whose caption wraps onto more lines when it is wider than the button, as a narrow button with
// a long caption ("Add New Number") shows it. The caption itself stays one text.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    CaptionButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
