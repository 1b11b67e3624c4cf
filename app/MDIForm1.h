#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <functional>
#include <future>

class QLabel;
struct SyncReport;

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
    // The working windows stay inside the client area: a smaller area moves and shrinks them, and they scroll.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::future<QImage> m_reading; // the picture, read while the frame is made and shown
    QPixmap m_picture;
    std::function<void()> m_afterFirstPaint;
};

// The frame window that holds the working windows: caption "Tovrin", black, its own picture and icon, no menu or
// tool bar. It has no handlers of its own. Its status line, beneath the working windows, says what the last piece
// of work did (a search, an import, a save) and, at its right, how the sync stands.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_area; }
    // Runs `work` once the frame is on screen: the program shows its frame first and makes the working windows,
    // which read the file, right after.
    void afterFirstPaint(std::function<void()> work) { m_area->afterFirstPaint(std::move(work)); }

    // Shows the frame where the user left it last time, or else maximized. Where nothing maximizes it (an X server
    // without a window manager), it takes the screen's working area itself rather than stay at its design size in a
    // corner. From then on the frame's size and place are kept for the next start.
    void showFillingScreen();

    // The status line of the frame the windows are shown in, if any, says `text` until something else is said.
    static void showStatus(const QString& text);
    QString statusText() const;
    // Keeps the sync's state in the status line: syncing, last synced, or failed and why.
    void followSync();
    void showSyncReport(const SyncReport& report);
    QString syncState() const;

    // Ends the program at once: every window closes, the event loop returns 0.
    static void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    BackgroundArea* m_area;
    QLabel* m_syncState;
    bool m_remember = false;
};
