#pragma once

#include "settings/Settings.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QString>

#include <memory>

namespace quendra {

// The program's settings in the user's QSettings store: the registry key
// HKEY_CURRENT_USER\software\Tamblix\Quendra on Windows, ~/.config/Tamblix/Quendra.conf on Linux.
// Sections written with backslashes become nested groups ("SETTINGS\TELNET" is "SETTINGS/TELNET").
//
// Every write is synced to disk at once, merging with whatever another running copy of the program
// wrote in the meantime; reads pick up changes made on disk by another copy (or by hand) within
// kSyncPeriodMs: the engine's frames, a thousand a second at times, each ask for the spots'
// lifetime, and looking at the file every time cost about as much as the rest of such a stream.
// Only the program's own file is read: a value missing there takes the caller's default, never
// one from an organisation-wide or system-wide file.
class QtProfileSettings : public Settings {
public:
    QtProfileSettings();
    explicit QtProfileSettings(const QString& filePath);  // an INI file at that path

    int GetProfileInt(std::u16string_view section, std::u16string_view entry, int def) override;
    std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                    std::u16string_view def = {}) override;
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(std::u16string_view section,
                                                              std::u16string_view entry) override;
    bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) override;
    bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                            std::u16string_view value) override;
    bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                            const std::vector<std::uint8_t>& data) override;

    // The file (or registry path) behind the store.
    QString location() const;

    // The QSettings key of a section and entry: "SETTINGS\TELNET", "X" -> "SETTINGS/TELNET/X".
    static QString keyOf(std::u16string_view section, std::u16string_view entry);

    static constexpr int kSyncPeriodMs = 100;

private:
    QVariant read(std::u16string_view section, std::u16string_view entry);
    bool write(std::u16string_view section, std::u16string_view entry, const QVariant& value);
    std::unique_ptr<QSettings> open() const;

    QString filePath_;  // empty for the user's store
    std::unique_ptr<QSettings> settings_;
    QElapsedTimer sinceSync_;  // since the file was last looked at; invalid before that
};

}  // namespace quendra
