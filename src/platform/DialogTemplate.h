#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace quendra {

// What a control is; the templates spell it "static", "icon", "edit", "combobox" or "button".
enum class ControlKind { Static, Icon, Edit, ComboBox, Button };

// One control of a dialog template, with its rectangle in dialog units.
struct DialogControlTemplate {
    static constexpr int kNoId = -1;
    int id = kNoId;          // kNoId for labels that the program never addresses
    ControlKind kind = ControlKind::Static;
    QString text;
    QRect rect;              // dialog units
    quint32 style = 0;       // the classic window style bits
    QString image;           // resource path of an icon control's image
};

// A dialog laid out in dialog units: the data files under :/dialogs/<id>.json.
struct DialogTemplate {
    int id = 0;
    QSize size;              // dialog units
    QString title;
    std::vector<DialogControlTemplate> controls;  // in tab order
};

// Style bits that change how a control is built.
inline constexpr quint32 kStyleUpperCase = 0x0008;      // edit: letters become capitals
inline constexpr quint32 kStyleComboSorted = 0x0100;    // combo box: sorted list
inline constexpr quint32 kStyleDefaultButton = 0x0001;  // push button: the Enter key presses it

// Loads template <id> from the resources; nothing when it is missing or malformed.
std::optional<DialogTemplate> loadDialogTemplate(int templateId);

// Parses a template from its JSON text; nothing when malformed.
std::optional<DialogTemplate> parseDialogTemplate(const QByteArray& json);

// A font's dialog base units: the average width of the letters A-Z and a-z, and the font height.
QSize dialogBaseUnits(const QFont& font);

// Converts a rectangle in dialog units to pixels: x and width by base width / 4, y and height by
// base height / 8, each rounded to the nearest pixel.
QRect dialogUnitsToPixels(const QRect& units, const QFont& font);
QSize dialogUnitsToPixels(const QSize& units, const QFont& font);

}  // namespace quendra
