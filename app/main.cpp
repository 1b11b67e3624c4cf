#include "ErrorPath.h"
#include "Fonts.h"
#include "MDIForm1.h"
#include "WindowSwitch.h"
#include "frmAdd.h"
#include "frmMain.h"
#include "frmMes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    Fonts::install();

    WindowSwitch::registerWindow(QStringLiteral("frmMain"), [] { return new frmMain; });
    WindowSwitch::registerWindow(QStringLiteral("frmAdd"), [] { return new frmAdd; });
    WindowSwitch::registerWindow(QStringLiteral("frmMes"), [] { return new frmMes; });

    MDIForm1 frame;
    WindowSwitch::setFrame(&frame);
    frame.showMaximized();
    if (!WindowSwitch::show(QStringLiteral("frmMain")) || ErrorPath::hasEnded())
        return 1;
    return QApplication::exec();
}
