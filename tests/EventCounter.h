#pragma once

#include <QEvent>
#include <QObject>

// Counts the events of one type that reach the objects it watches, and lets every one of them through.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type) : m_type(type) {}
    int count = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
};
