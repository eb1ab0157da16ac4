#include "info/Connectivity.h"

#include <QTest>

// The system's connectivity loads Qt's reachability backends on a thread of its own
// while the window is built; the answer must not depend on whether, or how far, that
// loading got.
class TestConnectivity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preparedAnswersAsUnprepared()
    {
        // First in the process, as in the program: asked at once, while the backends
        // are most likely still loading on the other thread.
        SystemConnectivity prepared;
        prepared.prepare();
        const bool first = prepared.isOnline();
        SystemConnectivity unprepared;
        QCOMPARE(unprepared.isOnline(), first);
        // Asked to prepare again after answering: nothing more is loaded, the same answer.
        prepared.prepare();
        QCOMPARE(prepared.isOnline(), first);
    }

    void goesWhileStillPreparing()
    {
        // Destroyed before anything asked: it waits for its thread instead of
        // leaving it to run on into freed memory (ASan would tell).
        for (int i = 0; i < 3; ++i) {
            SystemConnectivity connectivity;
            connectivity.prepare();
        }
    }
};

QTEST_GUILESS_MAIN(TestConnectivity)
#include "test_connectivity.moc"
