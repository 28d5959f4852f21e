#include "log/LogFollower.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace quendra {
namespace {

constexpr int kPollMs = 1000;
constexpr qint64 kHeadBytes = 256;
// A logger appends a QSO or a few; far more at once is read in turns so that no notice ever
// holds the window long.
constexpr qint64 kMostPerTurn = 4 * 1024 * 1024;

}  // namespace

LogFollower::LogFollower(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)), watcher_(new QFileSystemWatcher(this)), poll_(new QTimer(this)) {
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &LogFollower::check);
    connect(poll_, &QTimer::timeout, this, &LogFollower::check);
    poll_->start(kPollMs);
}

void LogFollower::followFrom(qint64 bytesRead) {
    following_ = true;
    read_ = bytesRead;
    head_ = head(std::min(read_, kHeadBytes));
    const QFileInfo info(path_);
    missing_ = !info.exists();
    modified_ = info.lastModified();
    if (!missing_ && !watcher_->files().contains(path_))
        watcher_->addPath(path_);
}

QByteArray LogFollower::head(qint64 length) const {
    QFile file(path_);
    if (length <= 0 || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(length);
}

void LogFollower::check() {
    if (!following_)
        return;
    const QFileInfo info(path_);
    if (!info.exists()) {
        missing_ = true;
        return;
    }
    // A file renamed over the old one is a new file to the watcher, which forgot the old one.
    if (!watcher_->files().contains(path_))
        watcher_->addPath(path_);
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (size == read_ && modified == modified_ && !missing_)
        return;
    const bool cameBack = std::exchange(missing_, false);
    modified_ = modified;
    if (cameBack || size < read_ || head(head_.size()) != head_) {
        following_ = false;
        emit mustReread();
        return;
    }
    if (size == read_)
        return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(read_))
        return;  // tried again at the next look
    const QByteArray bytes = file.read(std::min(size - read_, kMostPerTurn));
    if (bytes.isEmpty())
        return;
    read_ += bytes.size();
    if (read_ < size)
        QTimer::singleShot(0, this, &LogFollower::check);
    emit appended(bytes);
}

}  // namespace quendra
