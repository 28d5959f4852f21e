#include "platform/DialogTemplate.h"

#include <QFile>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quendra {
namespace {

std::optional<QRect> rectOf(const QJsonValue& value) {
    const QJsonArray array = value.toArray();
    if (array.size() != 4)
        return std::nullopt;
    for (const QJsonValue& number : array)
        if (!number.isDouble())
            return std::nullopt;
    return QRect(array[0].toInt(), array[1].toInt(), array[2].toInt(), array[3].toInt());
}

std::optional<ControlKind> kindOf(const QString& name) {
    static const std::pair<QLatin1String, ControlKind> kinds[] = {
        {QLatin1String("static"), ControlKind::Static}, {QLatin1String("icon"), ControlKind::Icon},
        {QLatin1String("edit"), ControlKind::Edit},     {QLatin1String("combobox"), ControlKind::ComboBox},
        {QLatin1String("button"), ControlKind::Button},
    };
    for (const auto& [spelling, kind] : kinds) {
        if (name == spelling)
            return kind;
    }
    return std::nullopt;
}

std::optional<DialogControlTemplate> controlOf(const QJsonObject& object) {
    DialogControlTemplate control;
    const QJsonValue id = object.value(QLatin1String("id"));
    if (id.isDouble())
        control.id = id.toInt();
    else if (!id.isNull() && !id.isUndefined())
        return std::nullopt;
    const auto kind = kindOf(object.value(QLatin1String("kind")).toString());
    control.text = object.value(QLatin1String("text")).toString();
    control.style = static_cast<quint32>(object.value(QLatin1String("style")).toDouble());
    control.image = object.value(QLatin1String("image")).toString();
    const auto rect = rectOf(object.value(QLatin1String("rect")));
    if (!rect || !kind)
        return std::nullopt;
    control.kind = *kind;
    control.rect = *rect;
    return control;
}

int scaled(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    DialogTemplate dialog;
    dialog.id = root.value(QLatin1String("id")).toInt();
    const QJsonArray size = root.value(QLatin1String("size")).toArray();
    if (size.size() != 2)
        return std::nullopt;
    dialog.size = QSize(size[0].toInt(), size[1].toInt());
    dialog.title = root.value(QLatin1String("title")).toString();
    for (const QJsonValue& value : root.value(QLatin1String("controls")).toArray()) {
        auto control = controlOf(value.toObject());
        if (!control)
            return std::nullopt;
        dialog.controls.push_back(std::move(*control));
    }
    return dialog;
}

std::optional<DialogTemplate> loadDialogTemplate(int templateId) {
    QFile file(QStringLiteral(":/dialogs/%1.json").arg(templateId));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseDialogTemplate(file.readAll());
}

QSize dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize(std::max(1, scaled(letters, 1, 52)), std::max(1, metrics.height()));
}

QRect dialogUnitsToPixels(const QRect& units, const QFont& font) {
    const QSize base = dialogBaseUnits(font);
    return QRect(scaled(units.x(), base.width(), 4), scaled(units.y(), base.height(), 8),
                 scaled(units.width(), base.width(), 4), scaled(units.height(), base.height(), 8));
}

QSize dialogUnitsToPixels(const QSize& units, const QFont& font) {
    return dialogUnitsToPixels(QRect(QPoint(0, 0), units), font).size();
}

}  // namespace quendra
