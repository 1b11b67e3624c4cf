#pragma once

#include <QVariant>
#include <QWidget>

class QMdiSubWindow;
class QPushButton;
class QScrollArea;

// Base of the three working windows that live inside the frame. A window is created when it is shown, runs its
// Form_Load once, and is destroyed when it unloads itself; none can be closed through its title bar. Each sits in a
// scroll area inside its sub-window: given less room than its controls need, it scrolls; given more, it may use it.
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
    // Shows what `argument` names (what switchTo would hand a new window of this kind) in the window as it stands;
    // false where it cannot, and the caller then switches to a fresh window.
    virtual bool showInPlace(const QVariant& argument)
    {
        Q_UNUSED(argument);
        return false;
    }
    // Whether the window holds something the user typed that leaving it would lose.
    virtual bool holdsTyping() const { return false; }

    // Left, Top, Width and Height of the window within the frame's client area, in twips. Where the client area is
    // smaller, the window is moved and shrunk into it, and scrolls. A window that `growsWithFrame` is as much larger
    // as the client area is larger than the directory window's design.
    void setBoundsTwips(int left, int top, int width, int height, bool growsWithFrame = false);
    QMdiSubWindow* subWindow() const;
    QScrollArea* scrollArea() const;

    // Puts a sub-window at its designed bounds, moved and shrunk as far as the client area needs. With
    // `keepPlacement` (the frame was resized) a window that fits where it is stays there.
    static void fitIntoArea(QMdiSubWindow* sub, bool keepPlacement = false);

    // The room the controls need: below it the window scrolls.
    QSize minimumSizeHint() const override;

    // Unloads the window: it closes and is destroyed with its controls and data controls.
    void unload();

    // Makes a command button of a window answer Enter (either key) when it has the focus, as it answers Space.
    static void pressOnEnter(QPushButton* button);

protected:
    // Right to left (under Hebrew) the designed places are mirrored across the window's width: each control's left
    // edge as designed becomes its right edge's distance from the window's right. Qt mirrors layouts, not places set
    // by hand, so the window keeps the designed places and mirrors them here, whoever set them.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void setDesignSize(const QSize& size);
    // The client area the window has at its designed bounds (its size beyond that is room to use), or an invalid
    // size outside a frame.
    QSize designedClientSize() const;

private:
    void mirror(QWidget* control, bool moved);

    QSize m_designSize;
};
