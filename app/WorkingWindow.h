#pragma once

#include <QWidget>

class QMdiSubWindow;
class QPushButton;

// Base of the three working windows that live inside the frame. A window is created when it is shown, runs its
// Form_Load once, and is destroyed when it unloads itself; none can be closed through its title bar.
class WorkingWindow : public QWidget
{
    Q_OBJECT
public:
    enum class Border { None, FixedSingle, Sizable };

    explicit WorkingWindow(QWidget* parent = nullptr);

    // The load handler. Throws DbError when the database cannot be read; the program then ends.
    virtual void Form_Load() = 0;

    virtual QString caption() const = 0;
    virtual Border border() const = 0;
    // Maximized windows fill the frame's client area.
    virtual bool maximized() const { return false; }

    // Left, Top, Width and Height of the window within the frame's client area, in twips.
    void setBoundsTwips(int left, int top, int width, int height);
    QMdiSubWindow* subWindow() const;

    // Unloads the window: it closes and is destroyed with its controls and data controls.
    void unload();

    // Makes a command button of a window answer Enter (either key) when it has the focus, as it answers Space.
    static void pressOnEnter(QPushButton* button);
};
