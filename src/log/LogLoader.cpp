#include "log/LogLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QStandardPaths>

namespace quendra {
namespace {

constexpr qint64 kLargestEntityFile = 16 * 1024 * 1024;
constexpr qint64 kPieceBytes = 1024 * 1024;
// Progress is told about every 4 MB: a few dozen times for a big log.
constexpr qint64 kProgressBytes = 4 * kPieceBytes;
const char* const kInstalledEntityFile = "/usr/share/hamradio-files/cty.csv";

std::unique_ptr<EntityNumbers> readNumbers(const QString& path, QString& problem) {
    if (path.isEmpty()) {
        problem = QStringLiteral("Log: no entity file (cty.csv) found");
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestEntityFile) {
        problem = QStringLiteral("Log: cannot read %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    const QByteArray text = file.readAll();
    EntityNumbersResult parsed = parseEntityNumbers(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!parsed.ok()) {
        problem = QStringLiteral("Log: %1: %2").arg(path, QString::fromStdString(parsed.error.describe()));
        return nullptr;
    }
    return std::make_unique<EntityNumbers>(std::move(*parsed.numbers));
}

}  // namespace

QString entityFilePath(const QString& countryFile) {
    if (!countryFile.trimmed().isEmpty())
        return QFileInfo(countryFile.trimmed()).dir().filePath(QStringLiteral("cty.csv"));
    const QString own = QStandardPaths::locate(QStandardPaths::AppDataLocation, QStringLiteral("cty.csv"));
    if (!own.isEmpty())
        return own;
    return QFile::exists(QLatin1String(kInstalledEntityFile)) ? QString::fromLatin1(kInstalledEntityFile) : QString();
}

LogLoader::LogLoader(QString logPath, QString entityPath, QObject* parent)
    : QObject(parent), logPath_(std::move(logPath)), entityPath_(std::move(entityPath)) {}

LogLoader::~LogLoader() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void LogLoader::start() {
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

// Runs in the loader's thread; it touches nothing of the program's but this object's constant
// members and hands what it made over through queued calls.
void LogLoader::run() {
    auto result = std::make_shared<LoadedLog>();
    result->numbers = readNumbers(entityPath_, result->problem);
    QFile file(logPath_);
    if (result->numbers && !file.open(QIODevice::ReadOnly)) {
        result->problem = QStringLiteral("Log: cannot read %1: %2").arg(logPath_, file.errorString());
    } else if (result->numbers) {
        result->log = std::make_unique<OperatorLog>(*result->numbers);
        const qint64 total = file.size();
        QByteArray piece(kPieceBytes, Qt::Uninitialized);
        qint64 toldAt = 0;
        while (!stop_) {
            const qint64 got = file.read(piece.data(), piece.size());
            if (got <= 0)
                break;
            result->log->feed(std::string_view(piece.constData(), static_cast<std::size_t>(got)));
            result->bytesRead += got;
            if (result->bytesRead - toldAt >= kProgressBytes) {
                toldAt = result->bytesRead;
                QMetaObject::invokeMethod(this, [this, read = result->bytesRead, total] { emit progress(read, total); },
                                          Qt::QueuedConnection);
            }
        }
        result->log->finish();
    }
    QMetaObject::invokeMethod(this, [this, result] { emit loaded(result); }, Qt::QueuedConnection);
}

}  // namespace quendra
