#include "frmMain.h"

#include "Module1.h"
#include "Twips.h"

frmMain::frmMain(QWidget* parent) : WorkingWindow(parent), datTel(new DataControl(this)), dbgPer(new DataGrid(this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    datTel->setObjectName(QStringLiteral("datTel"));
    dbgPer->setObjectName(QStringLiteral("dbgPer"));
    dbgPer->setCaption(QStringLiteral("Personal  -  Tovrin"));
    dbgPer->setModel(new GridModel(datTel,
                                   {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()},
                                    {QStringLiteral("First"), QStringLiteral("Fname"), 2760, QString()},
                                    {QStringLiteral("Tel - 1"), QStringLiteral("Tel1"), 1410, QStringLiteral("General Number")},
                                    {QStringLiteral("Tel - 2"), QStringLiteral("Tel2"), 1380, QStringLiteral("General Number")},
                                    {QStringLiteral("Cellular"), QStringLiteral("Pel"), 1395, QStringLiteral("General Number")},
                                    {QStringLiteral("Fax"), QStringLiteral("Fax"), 1350, QStringLiteral("General Number")}},
                                   this));
}

void frmMain::Form_Load()
{
    dbgPer->setGeometry(twRect(360, 1200, 11295, 2000));
    gDbPath = Module1::databasePath();
    datTel->setDatabaseName(gDbPath);
    gRecordSource = QStringLiteral("SELECT * FROM tblTel WHERE Category = 'Personal' ORDER BY Lname");
    datTel->setRecordSource(gRecordSource);
    datTel->Refresh();
}
