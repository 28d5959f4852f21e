// Two running copies of the program share one settings file. Each saves its own values many
// times over while the other does the same; afterwards both sets are there.
#include "platform/QtProfileSettings.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstring>

using namespace quendra;

namespace {

constexpr int kRounds = 60;
constexpr std::u16string_view kSection = u"SETTINGS\\SHARED";

std::u16string entryName(const QString& copy, const char* kind, int index) {
    return QStringLiteral("%1_%2%3").arg(copy, QLatin1String(kind)).arg(index).toStdU16String();
}

std::u16string textValue(const QString& copy, int index) {
    return QStringLiteral("value %1 of %2").arg(index).arg(copy).toStdU16String();
}

// What one copy does: every round adds new entries and rewrites its first one again,
// and checks that its own values read back.
int writeAsOneCopy(const QString& path, const QString& copy) {
    QtProfileSettings settings(path);
    for (int round = 0; round < kRounds; ++round) {
        const bool written = settings.WriteProfileInt(kSection, entryName(copy, "int", round), round) &&
                             settings.WriteProfileString(kSection, entryName(copy, "text", round),
                                                         textValue(copy, round)) &&
                             settings.WriteProfileInt(kSection, entryName(copy, "int", 0), 0);
        if (!written || settings.GetProfileInt(kSection, entryName(copy, "int", round), -1) != round)
            return 1;
        // A copy sees the other's writes when the file's size or millisecond time stamp changed;
        // two writes in the very same millisecond that leave the same size can go unseen. People
        // change settings far slower than this; the pause keeps the test to that world.
        QThread::msleep(3);
    }
    return 0;
}

}  // namespace

class SettingsTwoCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void bothCopiesKeepTheirValues();
};

void SettingsTwoCopiesTest::bothCopiesKeepTheirValues() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Quendra.conf"));
    const QStringList copies{QStringLiteral("first"), QStringLiteral("second")};

    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QString& copy : copies) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--write-settings"), path, copy});
        QVERIFY(process->waitForStarted());
        processes.push_back(std::move(process));
    }
    for (auto& process : processes) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }

    QtProfileSettings settings(path);
    for (const QString& copy : copies) {
        for (int round = 0; round < kRounds; ++round) {
            QCOMPARE(settings.GetProfileInt(kSection, entryName(copy, "int", round), -1), round);
            QCOMPARE(settings.GetProfileString(kSection, entryName(copy, "text", round)),
                     textValue(copy, round));
        }
    }
}

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--write-settings") == 0) {
        QCoreApplication app(argc, argv);
        return writeAsOneCopy(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    SettingsTwoCopiesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsTwoCopiesTest.moc"
