#include "res/Resources.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QJsonDocument>

// The resources live in a static library; referencing its initialiser keeps the
// linker from dropping them. Outside any namespace, as Q_INIT_RESOURCE requires.
static void RegisterResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(marlune);
        return true;
    }();
    (void)registered;
}

QJsonObject LoadJsonResource(const QString& path)
{
    RegisterResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("missing resource " + path.toStdString());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw std::runtime_error("malformed resource " + path.toStdString() + ": " + error.errorString().toStdString());
    return document.object();
}

QString LoadResourceString(int id)
{
    return LoadJsonResource(QStringLiteral(":/strings.json"))
        .value(QStringLiteral("strings"))
        .toObject()
        .value(QString::number(id))
        .toString();
}

QString LoadVersionField(const QString& field)
{
    return LoadJsonResource(QStringLiteral(":/strings.json"))
        .value(QStringLiteral("version"))
        .toObject()
        .value(field)
        .toString();
}

QPixmap LoadBitmap(int id)
{
    RegisterResources();
    return QPixmap(QStringLiteral(":/bitmap/%1").arg(id));
}

QIcon LoadIcon(int id)
{
    RegisterResources();
    QIcon icon;
    const QDir images(QStringLiteral(":/icon/%1").arg(id));
    for (const QString& image : images.entryList(QDir::Files, QDir::Name)) icon.addFile(images.filePath(image));
    return icon;
}
