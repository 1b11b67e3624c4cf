// Measures how long a program takes from its start to its first painted window, inside an X server of its own
// (the benchmark starts it under xvfb-run with a white root window and no window manager).
//
// Qt creates its windows without a background, so mapping a window changes nothing on screen: the first pixels
// that differ from the empty root are the program's first paint. We sample a few rows of the screen and stop the
// clock at the first difference; this needs nothing from the programs measured. (xdotool's --sync polls only
// twice a second, far too coarse for a ratio of two start-ups.)
//
// Usage: tovrin_startup_watch RUNS [--shots DIR] NAME=PROGRAM...
// Prints one line per start: "NAME FIRST SECOND", the milliseconds to the first change on screen (-1 when nothing
// appeared within 30 s) and to the next change after it (-1 when none came within 1.5 s). Each program runs with
// its own folder as working directory and "-geometry" set to the whole screen, which is what maximizing does
// under a window manager. With --shots, the screen at the moment of the first reported paint of each program is
// saved there, so a person can check what was caught.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <cstdio>
#include <vector>

namespace {

constexpr int kProbeRows = 12;
constexpr qint64 kTimeoutMs = 30000;
constexpr qint64 kSecondPaintMs = 1500; // how long a second paint is waited for

// A handful of full-width rows spread over the screen: any window of a reasonable size crosses one.
std::vector<QImage> sampleScreen(QScreen* screen)
{
    const QRect geometry = screen->geometry();
    std::vector<QImage> rows;
    rows.reserve(kProbeRows);
    for (int i = 0; i < kProbeRows; ++i) {
        const int y = geometry.height() * (2 * i + 1) / (2 * kProbeRows);
        rows.push_back(screen->grabWindow(0, 0, y, geometry.width(), 1).toImage());
    }
    return rows;
}

bool sameScreen(const std::vector<QImage>& a, const std::vector<QImage>& b)
{
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Milliseconds from the start of a program to the first change on screen, and to the next change after it (a
// program that shows its frame first and fills it after); -1 when nothing appeared in time.
struct Paints
{
    double first = -1;
    double second = -1;
};

Paints timeToPaints(QScreen* screen, const QString& program, const QString& shot)
{
    const std::vector<QImage> empty = sampleScreen(screen);
    const QRect geometry = screen->geometry();
    QProcess process;
    process.setProgram(program);
    process.setArguments(
        {QStringLiteral("-geometry"), QStringLiteral("%1x%2+0+0").arg(geometry.width()).arg(geometry.height())});
    process.setWorkingDirectory(QFileInfo(program).absolutePath());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start();
    Paints paints;
    std::vector<QImage> first;
    while (clock.elapsed() < kTimeoutMs && process.state() != QProcess::NotRunning) {
        const std::vector<QImage> now = sampleScreen(screen);
        if (paints.first < 0 && !sameScreen(empty, now)) {
            paints.first = double(clock.nsecsElapsed()) / 1e6;
            first = now;
            if (!shot.isEmpty())
                screen->grabWindow(0).save(shot);
        } else if (paints.first >= 0 && !sameScreen(first, now)) {
            paints.second = double(clock.nsecsElapsed()) / 1e6;
            if (!shot.isEmpty())
                screen->grabWindow(0).save(QString(shot).replace(QStringLiteral(".png"), QStringLiteral("-2.png")));
            break;
        }
        if (paints.first >= 0 && clock.elapsed() > paints.first + kSecondPaintMs)
            break;
        // Leave the second core to the program and the X server most of the time.
        QThread::usleep(300);
    }
    process.kill();
    process.waitForFinished(5000);
    // The server repaints the root once the window is gone; the next start needs the empty screen again.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 5000 && !sameScreen(empty, sampleScreen(screen)))
        QThread::msleep(5);
    return paints;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString shots;
    if (args.size() >= 2 && args.at(1) == QLatin1String("--shots")) {
        shots = args.at(2);
        args.remove(1, 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tovrin_startup_watch RUNS [--shots DIR] NAME=PROGRAM...\n");
        return 2;
    }
    const int runs = args.at(0).toInt();
    QList<QPair<QString, QString>> programs;
    for (int i = 1; i < args.size(); ++i) {
        const int eq = int(args.at(i).indexOf(QLatin1Char('=')));
        programs.append({args.at(i).left(eq), args.at(i).mid(eq + 1)});
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QSet<QString> shotTaken;
    // Round 0 brings every library into the page cache and is not reported. The order alternates between rounds
    // so that neither program always starts right after the other.
    for (int round = 0; round <= runs; ++round) {
        for (int k = 0; k < programs.size(); ++k) {
            const auto& [name, program] = programs.at(round % 2 ? programs.size() - 1 - k : k);
            QString shot;
            if (round > 0 && !shots.isEmpty() && !shotTaken.contains(name)) {
                shot = QDir(shots).filePath(name + QStringLiteral(".png"));
                shotTaken.insert(name);
            }
            const Paints paints = timeToPaints(screen, program, shot);
            if (round > 0)
                std::printf("%s %.2f %.2f\n", qPrintable(name), paints.first, paints.second);
            std::fflush(stdout);
        }
    }
    return 0;
}
