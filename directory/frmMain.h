#pragma once

#include "DataControl.h"
#include "DataGrid.h"
#include "GridModel.h"
#include "WorkingWindow.h"

// The directory window: the chosen book in a grid.
class frmMain : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    void Form_Load() override;
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
    bool maximized() const override { return true; }

    DataControl* datTel;
    DataGrid* dbgPer;
};
