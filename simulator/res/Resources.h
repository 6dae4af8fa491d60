#pragma once
#include <QIcon>
#include <QJsonObject>
#include <QPixmap>
#include <QString>

// The program's compiled-in resources, reached by their numeric ids.

// The parsed contents of a JSON resource (":/dialogs.json", ":/strings.json").
// A missing or malformed resource is a build fault and throws std::runtime_error.
QJsonObject LoadJsonResource(const QString& path);

// String table entry; empty when the id has no string.
QString LoadResourceString(int id);
// One field of the version record ("FileVersion", "ProductName", ...).
QString LoadVersionField(const QString& field);
// A situation picture (129..136); a null pixmap for an unknown id.
QPixmap LoadBitmap(int id);
// An icon with all of its images (128: the application's).
QIcon LoadIcon(int id);
