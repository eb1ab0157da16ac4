#pragma once

// The first frame of a window, as the start benchmarks (bench/start-bench.py) see
// it: the window is shown, and the parent is told as soon as Qt has painted the
// window for the first time, before anything that the paint put off runs.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace FirstFrame {

// One line for the parent, at once.
inline void tell(const QByteArray &line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

// Watches the window's first paint event. The window's widgets are all painted in
// that one go; a call queued then runs right after the frame, and before what the
// paint queued later (the program starts its web engine after its first frame in
// the same way: installed later, this filter is asked first).
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<QByteArray()> line) : m_window(window), m_line(std::move(line))
    {
        window->installEventFilter(this);
    }
    bool told() const { return m_told; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_queued) {
            m_queued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    tell(m_line());
                    m_told = true;
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    std::function<QByteArray()> m_line;
    bool m_queued = false;
    bool m_told = false;
};

// Shows the window and tells the line right after its first frame is painted.
inline void showAndTell(QWidget *window, std::function<QByteArray()> line)
{
    FirstPaint paint(window, std::move(line));
    window->show();
    QElapsedTimer waited;
    waited.start();
    while (!paint.told()) {
        if (waited.elapsed() > 60000) {
            std::fprintf(stderr, "the window was never painted\n");
            std::exit(1);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

// The parent ends the process by closing its standard input: the process then
// closes its windows and ends as a program does.
inline void quitWhenInputEnds()
{
    auto *input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(input, &QSocketNotifier::activated, input, [input] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input->setEnabled(false);
            QCoreApplication::quit();
        }
    });
}

} // namespace FirstFrame
