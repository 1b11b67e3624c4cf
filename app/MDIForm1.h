#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <functional>

// The frame's client area: black, with the background picture drawn once in the middle. (A QMdiArea background
// brush would tile the picture, so the viewport paints it.)
class BackgroundArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget* parent = nullptr);

    // Runs `work` once, from the event loop, right after the first paint has gone to the screen.
    void afterFirstPaint(std::function<void()> work) { m_afterFirstPaint = std::move(work); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    std::function<void()> m_afterFirstPaint;
};

// The frame window that holds the working windows: caption "Tovrin", black, its own picture and icon, no menu,
// tool or status bar. It has no handlers of its own.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_area; }
    // Runs `work` once the frame is on screen: the program shows its frame first and makes the working windows,
    // which read the file, right after.
    void afterFirstPaint(std::function<void()> work) { m_area->afterFirstPaint(std::move(work)); }

    // Shows the frame maximized. Where nothing maximizes it (an X server without a window manager), it takes the
    // screen's working area itself rather than stay at its design size in a corner.
    void showFillingScreen();

    // Ends the program at once: every window closes, the event loop returns 0.
    static void endProgram();

private:
    BackgroundArea* m_area;
};
