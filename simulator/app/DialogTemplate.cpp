#include "app/DialogTemplate.h"

#include <stdexcept>

#include <QJsonArray>
#include <QJsonObject>

#include "res/Resources.h"

namespace {

QRect ReadRect(const QJsonArray& values)
{
    return QRect(values.at(0).toInt(), values.at(1).toInt(), values.at(2).toInt(), values.at(3).toInt());
}

ControlTemplate ReadControl(const QJsonObject& object)
{
    ControlTemplate control;
    control.id = object.value(QStringLiteral("id")).toInt(kStaticControlId);
    control.kind = object.value(QStringLiteral("kind")).toString();
    control.text = object.value(QStringLiteral("text")).toString();
    control.rect = ReadRect(object.value(QStringLiteral("rect")).toArray());
    for (const QJsonValue& style : object.value(QStringLiteral("styles")).toArray()) control.styles << style.toString();
    return control;
}

}  // namespace

DialogTemplate LoadDialogTemplate(int id)
{
    const QJsonArray templates =
        LoadJsonResource(QStringLiteral(":/dialogs.json")).value(QStringLiteral("templates")).toArray();
    for (const QJsonValue& value : templates) {
        const QJsonObject object = value.toObject();
        if (object.value(QStringLiteral("id")).toInt() != id) continue;
        DialogTemplate dialog;
        dialog.id = id;
        dialog.title = object.value(QStringLiteral("title")).toString();
        const QJsonObject font = object.value(QStringLiteral("font")).toObject();
        dialog.fontFamily = font.value(QStringLiteral("family")).toString();
        dialog.fontPoints = font.value(QStringLiteral("points")).toInt(8);
        const QJsonArray size = object.value(QStringLiteral("size")).toArray();
        dialog.size = QSize(size.at(0).toInt(), size.at(1).toInt());
        for (const QJsonValue& control : object.value(QStringLiteral("controls")).toArray())
            dialog.controls.push_back(ReadControl(control.toObject()));
        return dialog;
    }
    throw std::runtime_error("no dialog template " + std::to_string(id));
}
