#pragma once

#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace quendra {

// A log read whole: the entity numbers it was resolved with, the log, and how far the file was
// read (the follower goes on from there).
struct LoadedLog {
    std::unique_ptr<EntityNumbers> numbers;  // the log refers to these
    std::unique_ptr<OperatorLog> log;        // none when the file could not be read
    qint64 bytesRead = 0;
    QString problem;  // why there is no log, for the status bar; empty when there is one
};

// Where the entity numbers come from: cty.csv beside the country file named in DXCC/CTYFILE,
// else in the user's data folder, else the one hamradio-files installs.
QString entityFilePath(const QString& countryFile);

// Reads the entity numbers and then the log file whole in a thread of its own, so the window
// stays responsive with a log of any size. Progress and the result come back to the thread that
// made the loader, as signals; a loader destroyed while reading stops the thread first.
class LogLoader : public QObject {
    Q_OBJECT
public:
    LogLoader(QString logPath, QString entityPath, QObject* parent = nullptr);
    ~LogLoader() override;

    void start();

signals:
    void progress(qint64 bytesRead, qint64 bytesTotal);
    void loaded(std::shared_ptr<LoadedLog> result);

private:
    void run();

    const QString logPath_;
    const QString entityPath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

}  // namespace quendra
