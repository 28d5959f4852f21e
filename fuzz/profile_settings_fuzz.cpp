// The program's settings read from an arbitrary file: every key the file holds through each of
// the three reads, the values the program itself reads, and a write that must read back.
#include "FuzzCheck.h"
#include "links/AddressHistory.h"
#include "platform/QtProfileSettings.h"
#include "spots/ColumnOrder.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace {

QString nextFilePath() {
    // A fresh name each time: QSettings caches files by name and modification time.
    static int serial = 0;
    return QDir::tempPath() + QStringLiteral("/quendra-fuzz-%1-%2.ini")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(++serial);
}

void readEveryKey(const QString& path, quendra::QtProfileSettings& settings) {
    const QStringList keys = QSettings(path, QSettings::IniFormat).allKeys();
    for (const QString& key : keys.mid(0, 64)) {
        const qsizetype cut = key.lastIndexOf(u'/');
        const std::u16string section = key.left(std::max<qsizetype>(cut, 0)).toStdU16String();
        const std::u16string entry = key.mid(cut + 1).toStdU16String();
        (void)settings.GetProfileInt(section, entry, 7);
        (void)settings.GetProfileString(section, entry, u"default");
        (void)settings.GetProfileBinary(section, entry);
    }
}

void readWhatTheProgramReads(quendra::QtProfileSettings& settings) {
    quendra::AddressHistory history(settings);
    FUZZ_CHECK(static_cast<int>(history.entries().size()) == history.firstFreeIndex());
    (void)history.lastConfirmed();
    if (const auto order = settings.GetProfileBinary(u"DXCLUSTER_1", u"ORDER"))
        (void)quendra::decodeColumnOrder(*order, 6);
    quendra::testing::ManualClock clock;
    quendra::SpotStore store(settings, clock);
    (void)store.expireSpots();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::u16string written = quendra::decodeWindows1252(input.ConsumeRandomLengthString(64));
    // The whole input is the file; its first bytes also choose the text written back.
    const std::string content(reinterpret_cast<const char*>(data), size);
    const QString path = nextFilePath();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(content.data(), static_cast<qint64>(content.size()));
    }
    {
        quendra::QtProfileSettings settings(path);
        readEveryKey(path, settings);
        readWhatTheProgramReads(settings);
        if (settings.WriteProfileString(u"STATUS", u"TELNET", written))
            FUZZ_CHECK(settings.GetProfileString(u"STATUS", u"TELNET") == written);
    }
    QFile::remove(path);
    return 0;
}
