#include "platform/QtProfileSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <climits>

using quendra::QtProfileSettings;

namespace {

std::u16string u16(const QString& text) { return text.toStdU16String(); }

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

ino_t inodeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

class QtProfileSettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QTemporaryDir configHome_;
    QTemporaryDir systemConfig_;
    QString file(const QString& name) const { return dir_.filePath(name); }
    // A file of its own per data row: QSettings caches a parsed file per process and only notices
    // a change made behind its back by the file's size and time.
    QString rowFile(const QString& name) const {
        return file(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_') + name);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(configHome_.isValid());
        QVERIFY(systemConfig_.isValid());
        // Before the first QSettings with organisation and application names is made: the user
        // folder is looked up once per process.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        // The system-wide folders (/etc/xdg, or $XDG_CONFIG_DIRS where Qt reads it) moved to a
        // folder of the test's own.
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemConfig_.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, systemConfig_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, systemConfig_.path());
    }

    void stringsRoundTripExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << QStringLiteral("DB0XYZ");
        QTest::newRow("at sign") << QStringLiteral("@node");
        QTest::newRow("looks like a byte array") << QStringLiteral("@ByteArray(abc)");
        QTest::newRow("beyond Latin-1") << QStringLiteral(u"Ωμέγα Жук 漢字 \U0001F4E1");
        QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree\r");
        QTest::newRow("comma list") << QStringLiteral("a, b, c");
        QTest::newRow("blanks kept") << QStringLiteral("  padded  ");
        QTest::newRow("ini syntax") << QStringLiteral("[x];y=z#w\"q\\");
        QTest::newRow("number-like") << QStringLiteral("8000");
    }
    void stringsRoundTripExactly() {
        QFETCH(QString, text);
        const QString path = rowFile(QStringLiteral("strings.ini"));
        QtProfileSettings(path).WriteProfileString(u"STATUS", u"TELNET", u16(text));
        QtProfileSettings fresh(path);
        QCOMPARE(QString::fromStdU16String(fresh.GetProfileString(u"STATUS", u"TELNET", u"def")),
                 text);
    }

    void integersAndBytesRoundTrip() {
        const QString path = file(QStringLiteral("numbers.ini"));
        const std::vector<int> numbers{0, 1, -1, 8000, INT_MAX, INT_MIN};
        std::vector<std::uint8_t> allBytes;
        for (int b = 0; b < 256; ++b)
            allBytes.push_back(static_cast<std::uint8_t>(b));
        {
            QtProfileSettings store(path);
            for (std::size_t i = 0; i < numbers.size(); ++i)
                QVERIFY(store.WriteProfileInt(u"DXCLUSTER_1", u16(QStringLiteral("Col%1").arg(i)),
                                              numbers[i]));
            QVERIFY(store.WriteProfileBinary(u"DXCLUSTER_1", u"ORDER", allBytes));
            QVERIFY(store.WriteProfileBinary(u"DXCLUSTER_1", u"EMPTY", {}));
        }
        QtProfileSettings fresh(path);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            QCOMPARE(fresh.GetProfileInt(u"DXCLUSTER_1", u16(QStringLiteral("Col%1").arg(i)), 7),
                     numbers[i]);
        QCOMPARE(fresh.GetProfileBinary(u"DXCLUSTER_1", u"ORDER"), std::optional(allBytes));
        QCOMPARE(fresh.GetProfileBinary(u"DXCLUSTER_1", u"EMPTY"),
                 std::optional(std::vector<std::uint8_t>{}));
    }

    void unreadableIntegersGiveTheDefault_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QByteArray() << 50;
        QTest::newRow("plain") << QByteArray("X=123") << 123;
        QTest::newRow("negative") << QByteArray("X=-40") << -40;
        QTest::newRow("trailing letters") << QByteArray("X=12abc") << 50;
        QTest::newRow("leading blank kept by quotes") << QByteArray("X=\" 12\"") << 50;
        QTest::newRow("empty") << QByteArray("X=") << 50;
        QTest::newRow("sign only") << QByteArray("X=-") << 50;
        QTest::newRow("above 32 bits") << QByteArray("X=2147483648") << 50;
        QTest::newRow("below 32 bits") << QByteArray("X=-2147483649") << 50;
        QTest::newRow("far beyond") << QByteArray("X=99999999999999999999999") << 50;
        QTest::newRow("hexadecimal") << QByteArray("X=0x10") << 50;
        QTest::newRow("bytes") << QByteArray("X=@ByteArray(12)") << 50;
        QTest::newRow("list") << QByteArray("X=1, 2") << 50;
    }
    void unreadableIntegersGiveTheDefault() {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        const QString path = rowFile(QStringLiteral("ints.ini"));
        writeFile(path, "[SETTINGS]\n" + stored.replace("X=", "TELNET\\MONITORBUFFERLINES=") + "\n");
        QtProfileSettings store(path);
        QCOMPARE(store.GetProfileInt(u"SETTINGS\\TELNET", u"MONITORBUFFERLINES", 50), expected);
    }

    void wrongTypesAndMissingValuesGiveTheDefault() {
        const QString path = file(QStringLiteral("types.ini"));
        QtProfileSettings store(path);
        store.WriteProfileString(u"STATUS", u"MYCALL", u"DL1ABC");
        store.WriteProfileBinary(u"STATUS", u"BLOB", {1, 2, 3});
        QCOMPARE(store.GetProfileString(u"STATUS", u"BLOB", u"NOCALL"), u"NOCALL");
        QCOMPARE(store.GetProfileString(u"STATUS", u"MISSING", u"NOCALL"), u"NOCALL");
        QCOMPARE(store.GetProfileString(u"STATUS", u"MISSING"), u"");
        QCOMPARE(store.GetProfileInt(u"STATUS", u"MYCALL", 8000), 8000);
        QVERIFY(!store.GetProfileBinary(u"STATUS", u"MYCALL"));
        QVERIFY(!store.GetProfileBinary(u"STATUS", u"MISSING"));
        QVERIFY(!QFile::exists(file(QStringLiteral("never-written.ini"))) ||
                fileBytes(file(QStringLiteral("never-written.ini"))).isEmpty());
    }

    void sectionsAreNestedGroupsInTheFile() {
        const QString path = file(QStringLiteral("groups.ini"));
        QtProfileSettings store(path);
        store.WriteProfileInt(u"SETTINGS\\TELNET", u"MONITORBUFFERLINES", 77);
        store.WriteProfileInt(u"SETTINGS\\CLUSTERFRAME", u"TREESIZE", 60);
        store.WriteProfileString(u"STATUS", u"MYCALL", u"DL1ABC");

        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), QStringList({"SETTINGS", "STATUS"}));
        raw.beginGroup(QStringLiteral("SETTINGS"));
        QCOMPARE(raw.childGroups(), QStringList({"CLUSTERFRAME", "TELNET"}));
        QCOMPARE(raw.value(QStringLiteral("TELNET/MONITORBUFFERLINES")).toInt(), 77);
        raw.endGroup();
        QVERIFY(fileBytes(path).contains("[SETTINGS]"));
    }

    void corruptFilesGiveDefaultsAndStayWritable_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(static_cast<char>((i * 7919 + 13) & 0xFF));
        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("truncated lines") << QByteArray("[STATUS]\nMYCALL=\"DL1\nNORRVEL_PORT=@ByteArr");
        QTest::newRow("unclosed section") << QByteArray("[STAT\n=\n==\n[\n]\nMYCALL");
        QTest::newRow("nul bytes") << QByteArray("[STATUS]\0\0MYCALL=\0X\n", 21);
    }
    void corruptFilesGiveDefaultsAndStayWritable() {
        QFETCH(QByteArray, content);
        const QString path = rowFile(QStringLiteral("corrupt.ini"));
        writeFile(path, content);
        QtProfileSettings store(path);
        QCOMPARE(store.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8000);
        QCOMPARE(store.GetProfileInt(u"SETTINGS\\TELNET", u"MONITORBUFFERLINES", 50), 50);
        QVERIFY(!store.GetProfileBinary(u"DXCLUSTER_1", u"ORDER"));
        // Each write reports what it did itself, not the damage met by the reads before it.
        QVERIFY(store.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 900));
        QVERIFY(store.WriteProfileString(u"STATUS", u"MYCALL", u"DL1ABC"));
        QCOMPARE(store.GetProfileString(u"STATUS", u"MYCALL"), u"DL1ABC");
        QVERIFY(store.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 8001));
        QtProfileSettings fresh(path);
        QCOMPARE(fresh.GetProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1800), 900);
        QCOMPARE(fresh.GetProfileString(u"STATUS", u"MYCALL"), u"DL1ABC");
        QCOMPARE(fresh.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8001);
    }

    void writesThatCannotReachTheFileReportFailure_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("damaged");
        for (const char* how : {"read-only file", "read-only folder", "folder replaced by a file", "path is a folder"}) {
            QTest::addRow("%s", how) << QString::fromLatin1(how) << false;
            if (QByteArray(how) != "path is a folder")
                QTest::addRow("%s, damaged", how) << QString::fromLatin1(how) << true;
        }
    }
    void writesThatCannotReachTheFileReportFailure() {
        QFETCH(QString, how);
        QFETCH(bool, damaged);
        const QString folder = rowFile(QStringLiteral("folder"));
        const QString path = folder + QStringLiteral("/settings.ini");
        QVERIFY(QDir().mkpath(how == QLatin1String("path is a folder") ? path : folder));
        if (how != QLatin1String("path is a folder"))
            writeFile(path, damaged ? QByteArray("[STATUS]\0\0MYCALL=\0X\n", 21)
                                    : QByteArray("[STATUS]\nMYCALL=DL1ABC\n"));
        QtProfileSettings store(path);
        QCOMPARE(store.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8000);

        const QString away = folder + QStringLiteral(".away");
        const auto makeWritable = [&] {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            if (QFileInfo(folder).isFile() && QFile::remove(folder))
                QDir().rename(away, folder);
            if (QFileInfo(path).isDir())
                QDir(path).removeRecursively();
        };
        const auto atEnd = qScopeGuard(makeWritable);
        if (how == QLatin1String("read-only file")) {
            QFile::setPermissions(path, QFileDevice::ReadOwner);
            if (QFile(path).open(QIODevice::ReadWrite))
                QSKIP("running with rights that ignore file permissions");
        } else if (how == QLatin1String("read-only folder")) {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly))
                QSKIP("running with rights that ignore file permissions");
        } else if (how == QLatin1String("folder replaced by a file")) {
            QVERIFY(QDir().rename(folder, away));
            writeFile(folder, "not a folder");
        }

        QVERIFY(!store.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 8001));
        QVERIFY(!store.WriteProfileString(u"STATUS", u"MYCALL", u"DL2XYZ"));
        // Once the place can be written again, so can the value: an earlier failure is not
        // reported again.
        makeWritable();
        QVERIFY(store.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 8002));
        QCOMPARE(QtProfileSettings(path).GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8002);
    }

    void unreadableFileGivesDefaults() {
        const QString path = file(QStringLiteral("locked/settings.ini"));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("locked")));
        writeFile(path, "[STATUS]\nNORRVEL_PORT=1234\n");
        QFile::setPermissions(path, QFileDevice::Permissions());
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("running with rights that ignore file permissions");
        QtProfileSettings store(path);
        QCOMPARE(store.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8000);
        QVERIFY(!store.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 9));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void twoStoresOnOneFileKeepEachOthersValues() {
        const QString path = file(QStringLiteral("shared.ini"));
        QtProfileSettings first(path);
        QtProfileSettings second(path);
        QCOMPARE(first.GetProfileString(u"STATUS", u"MYCALL", u"NOCALL"), u"NOCALL");
        QCOMPARE(second.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 8000), 8000);
        first.WriteProfileString(u"STATUS", u"MYCALL", u"DL1ABC");
        second.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 8001);
        first.WriteProfileString(u"STATUS", u"TELENETADR0", u"node:23");
        second.WriteProfileString(u"STATUS", u"TELENETADR1", u"other:23");

        QCOMPARE(second.GetProfileString(u"STATUS", u"MYCALL"), u"DL1ABC");
        QCOMPARE(first.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 0), 8001);
        QtProfileSettings third(path);
        QCOMPARE(third.GetProfileString(u"STATUS", u"TELENETADR0"), u"node:23");
        QCOMPARE(third.GetProfileString(u"STATUS", u"TELENETADR1"), u"other:23");
    }

    // Reads look at the file at most every kSyncPeriodMs, but a change another copy made is
    // always seen once that time is over, however often the value was read meanwhile.
    void anotherCopysChangeIsReadSoonAfter() {
        const QString path = file(QStringLiteral("watched.ini"));
        QtProfileSettings reader(path);
        QtProfileSettings writer(path);
        QCOMPARE(reader.GetProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1800), 1800);
        QVERIFY(writer.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 60));
        QElapsedTimer waited;
        waited.start();
        while (reader.GetProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1800) != 60 && waited.elapsed() < 2000)
            QTest::qSleep(5);
        QCOMPARE(reader.GetProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1800), 60);
    }

    void writesReplaceTheFileWhole() {
        const QString path = file(QStringLiteral("atomic/settings.ini"));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("atomic")));
        QtProfileSettings store(path);
        store.WriteProfileString(u"STATUS", u"MYCALL", u"DL1ABC");
        const ino_t before = inodeOf(path);
        QVERIFY(before != 0);
        store.WriteProfileString(u"STATUS", u"MYCALL", u"DL2XYZ");
        // A new inode: the content went to a new file that was renamed over the old one.
        QVERIFY(inodeOf(path) != before);
        const QStringList left = QDir(dir_.filePath(QStringLiteral("atomic")))
                                     .entryList(QDir::Files | QDir::Hidden);
        for (const QString& name : left)
            QVERIFY2(name == QLatin1String("settings.ini") || name.endsWith(QLatin1String(".lock")),
                     qPrintable(name));
    }

    // Only the program's own file counts: a value missing there takes the caller's default, not
    // one from an organisation-wide file or a system folder.
    void fallbackFilesAreNotRead_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("user's organisation file") << configHome_.path() << QStringLiteral("Tamblix.conf");
        QTest::newRow("system program file") << systemConfig_.path() << QStringLiteral("Tamblix/Quendra.conf");
        QTest::newRow("system organisation file") << systemConfig_.path() << QStringLiteral("Tamblix.conf");
    }
    void fallbackFilesAreNotRead() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QVERIFY(QDir(folder).mkpath(QFileInfo(name).path()));
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        writeFile(QDir(folder).filePath(name),
                  "[STATUS]\n" + tag.toLatin1() + "_CALL=ZZ9ZZ\n" + tag.toLatin1() + "_PORT=1234\n");
        QtProfileSettings store;
        QCOMPARE(store.GetProfileString(u"STATUS", u16(tag + QStringLiteral("_CALL")), u"NOCALL"), u"NOCALL");
        QCOMPARE(store.GetProfileInt(u"STATUS", u16(tag + QStringLiteral("_PORT")), 8000), 8000);
    }

    void defaultStoreLivesUnderTheUserConfigFolder() {
        QtProfileSettings store;
        const QString expected = configHome_.filePath(QStringLiteral("Tamblix/Quendra.conf"));
        QCOMPARE(store.location(), expected);
        QCOMPARE(store.GetProfileString(u"STATUS", u"NORRVEL", u"localhost"), u"localhost");
        QVERIFY(!QFile::exists(expected));
        store.WriteProfileString(u"STATUS", u"NORRVEL", u"engine.local");
        QVERIFY(fileBytes(expected).contains("NORRVEL=engine.local"));
    }
};

QTEST_MAIN(QtProfileSettingsTest)
#include "QtProfileSettingsTest.moc"
