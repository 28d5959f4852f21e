#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;

namespace quendra {

// Follows a log file that a logger appends to: what is added past the part already read comes
// as bytes; a file that shrank, was replaced by another or came back after missing asks to be
// read again. The file system's notice is taken when it comes, and the file's size and time are
// also looked at once a second, since notices are missed on some file systems and when a file
// is replaced by renaming another over it.
class LogFollower : public QObject {
    Q_OBJECT
public:
    explicit LogFollower(QString path, QObject* parent = nullptr);

    // The first `bytesRead` bytes are read; from now on, tell what follows them.
    void followFrom(qint64 bytesRead);
    // Stops telling until followFrom, as while the file is read again.
    void pause() { following_ = false; }
    const QString& path() const { return path_; }

    // Looks at the file now.
    void check();

signals:
    void appended(const QByteArray& bytes);
    void mustReread();

private:
    QByteArray head(qint64 length) const;

    const QString path_;
    QFileSystemWatcher* watcher_;
    QTimer* poll_;
    bool following_ = false;
    qint64 read_ = 0;
    QByteArray head_;      // the file's first bytes as read: another file starts otherwise
    QDateTime modified_;
    bool missing_ = false;
};

}  // namespace quendra
