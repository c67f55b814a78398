#pragma once
// SIGTERM, SIGINT and SIGHUP, delivered through the event loop. The handler only writes a byte
// into a pipe that a socket notifier reads, so whatever the program does about the signal runs
// as an ordinary event, never inside the handler. A signal that was ignored when the program
// started (SIGHUP under nohup, SIGINT in a background job) was the user's choice and stays
// ignored. One instance at a time; the destructor puts the previous handlers back.

#include <QObject>

class QSocketNotifier;

namespace zintrova {

class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

signals:
    // One of the signals arrived (several at once are reported once).
    void Arrived();

private:
    void Drain();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace zintrova
