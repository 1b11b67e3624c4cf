#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>

// The frame's client area: black, with the background picture drawn once in the middle. (A QMdiArea background
// brush would tile the picture, so the viewport paints it.)
class BackgroundArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

// The frame window that holds the working windows: caption "Tovrin", black, its own picture and icon, no menu,
// tool or status bar. It has no handlers of its own.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_area; }

    // Ends the program at once: every window closes, the event loop returns 0.
    static void endProgram();

private:
    BackgroundArea* m_area;
};
