#include "dxcc/CountryFileLoader.h"

#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"

#include <QFile>
#include <QStandardPaths>

namespace quendra {
namespace {

constexpr qint64 kLargestCountryFile = 16 * 1024 * 1024;
const char* const kInstalledFile = "/usr/share/hamradio-files/cty.dat";

QString chooseFile(Settings& settings) {
    const QString configured = toQString(readSetting(settings, setting::kCountryFile)).trimmed();
    if (!configured.isEmpty())
        return configured;
    const QString own = QStandardPaths::locate(QStandardPaths::AppDataLocation, QStringLiteral("cty.dat"));
    if (!own.isEmpty())
        return own;
    return QFile::exists(QLatin1String(kInstalledFile)) ? QString::fromLatin1(kInstalledFile) : QString();
}

}  // namespace

LoadedCountries loadCountries(Settings& settings) {
    LoadedCountries loaded;
    loaded.path = chooseFile(settings);
    if (loaded.path.isEmpty()) {
        loaded.problem = QStringLiteral("Countries: no country file (cty.dat) found");
        return loaded;
    }
    QFile file(loaded.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestCountryFile) {
        loaded.problem = QStringLiteral("Countries: cannot read %1").arg(loaded.path);
        return loaded;
    }
    const QByteArray text = file.readAll();
    CountryFileResult parsed = parseCountryFile(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!parsed.ok()) {
        loaded.problem = QStringLiteral("Countries: %1: %2")
                             .arg(loaded.path, QString::fromStdString(parsed.error.describe()));
        return loaded;
    }
    loaded.lookup = CountryLookup(std::move(*parsed.file));
    return loaded;
}

}  // namespace quendra
