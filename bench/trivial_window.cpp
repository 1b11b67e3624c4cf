// The yardsticks for start-up: a Qt Widgets program that shows one maximized main window and nothing else, and
// (built with TOVRIN_TRIVIAL_TEXT) the same window showing one line of text, which is what any window that draws
// text pays for fonts on top of it.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Trivial window"));
#ifdef TOVRIN_TRIVIAL_TEXT
    window.setCentralWidget(new QLabel(QStringLiteral("Tovrin"), &window));
#endif
    window.showMaximized();
    return QApplication::exec();
}
