#include "platform/QtProfileSettings.h"

#include "platform/QtText.h"

#include <QByteArray>
#include <QStringList>

#include <limits>

namespace quendra {
namespace {

// An INI file keeps numbers as text. Only a whole decimal 32-bit number counts: "12abc", " 12",
// "" or "99999999999" are unreadable, so the caller's default applies.
std::optional<int> parseWholeInt(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> intOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return parseWholeInt(value.toString());
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::UInt:  // a registry DWORD: the same 32 bits read as signed
        return static_cast<int>(value.toUInt());
    case QMetaType::LongLong: {
        const long long number = value.toLongLong();
        if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            return std::nullopt;
        return static_cast<int>(number);
    }
    default:
        return std::nullopt;
    }
}

}  // namespace

QtProfileSettings::QtProfileSettings() : settings_(open()) {}

QtProfileSettings::QtProfileSettings(const QString& filePath) : filePath_(filePath), settings_(open()) {}

std::unique_ptr<QSettings> QtProfileSettings::open() const {
    auto settings = filePath_.isEmpty()
                        ? std::make_unique<QSettings>(QStringLiteral("Tamblix"), QStringLiteral("Quendra"))
                        : std::make_unique<QSettings>(filePath_, QSettings::IniFormat);
    // Qt would otherwise answer a missing value from Tamblix.conf or a file under /etc/xdg, and
    // the default given where the value is read would never apply.
    settings->setFallbacksEnabled(false);
    return settings;
}

QString QtProfileSettings::location() const { return settings_->fileName(); }

QString QtProfileSettings::keyOf(std::u16string_view section, std::u16string_view entry) {
    QString key = toQString(section);
    key.replace(u'\\', u'/');
    if (!key.isEmpty() && !key.endsWith(u'/'))
        key += u'/';
    QString name = toQString(entry);
    name.replace(u'\\', u'/');
    return key + name;
}

QVariant QtProfileSettings::read(std::u16string_view section, std::u16string_view entry) {
    // Picks up what another running copy wrote since, unless the file was looked at a moment ago.
    if (!sinceSync_.isValid() || sinceSync_.elapsed() >= kSyncPeriodMs) {
        settings_->sync();
        sinceSync_.start();
    }
    return settings_->value(keyOf(section, entry));
}

bool QtProfileSettings::write(std::u16string_view section, std::u16string_view entry,
                              const QVariant& value) {
    // QSettings keeps the first error it meets for good (a damaged file read long ago, a write
    // that failed earlier) and records no later one. A fresh object over the same file has no
    // history, so its status speaks of this write alone. A damaged file met while merging is
    // replaced by the write itself; the second round then shows whether the write got through.
    for (int round = 0; round < 2; ++round) {
        if (settings_->status() != QSettings::NoError)
            settings_ = open();
        settings_->setValue(keyOf(section, entry), value);
        // QSettings saves through a temporary file renamed over the old one, under a lock file,
        // and merges with the file's current content: a crash never leaves half a file, and two
        // copies of the program keep each other's values.
        settings_->sync();
        sinceSync_.start();
        if (settings_->status() != QSettings::FormatError)
            break;
    }
    return settings_->status() == QSettings::NoError;
}

int QtProfileSettings::GetProfileInt(std::u16string_view section, std::u16string_view entry,
                                     int def) {
    return intOf(read(section, entry)).value_or(def);
}

std::u16string QtProfileSettings::GetProfileString(std::u16string_view section,
                                                   std::u16string_view entry,
                                                   std::u16string_view def) {
    const QVariant value = read(section, entry);
    switch (value.typeId()) {
    case QMetaType::QString:
        return toU16(value.toString());
    case QMetaType::QStringList:  // an unquoted "a, b" typed into the file by hand
        return toU16(value.toStringList().join(QStringLiteral(", ")));
    default:  // missing, or a number or bytes where text was expected
        return std::u16string(def);
    }
}

std::optional<std::vector<std::uint8_t>> QtProfileSettings::GetProfileBinary(
    std::u16string_view section, std::u16string_view entry) {
    const QVariant value = read(section, entry);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool QtProfileSettings::WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                                        int value) {
    return write(section, entry, value);
}

bool QtProfileSettings::WriteProfileString(std::u16string_view section, std::u16string_view entry,
                                           std::u16string_view value) {
    return write(section, entry, toQString(value));
}

bool QtProfileSettings::WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                                           const std::vector<std::uint8_t>& data) {
    const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                           static_cast<qsizetype>(data.size()));
    return write(section, entry, bytes);
}

}  // namespace quendra
