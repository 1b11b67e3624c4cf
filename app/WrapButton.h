#pragma once

#include <QPushButton>

// A command button whose caption breaks onto more lines when the button is too narrow for it in one, as a narrow
// button shows "Add New Number" or "Add New Message" in a 12-point face. text() stays the one caption.
class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrapButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
