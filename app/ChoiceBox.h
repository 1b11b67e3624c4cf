#pragma once

#include <QComboBox>
#include <QWheelEvent>

// A closed list that the mouse wheel never changes: a wheel turned over it while the dialog scrolls, or while the
// pointer only passes, goes on to what is under it. An opened list scrolls with the wheel as any list does.
class ChoiceBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};
