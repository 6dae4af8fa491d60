#pragma once
#include <vector>

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// A dialog's layout as the resources describe it: title, font, size and controls,
// all in dialog units, controls in creation (and tab) order.

// Controls that nothing refers to carry this id.
inline constexpr int kStaticControlId = -1;

struct ControlTemplate {
    int id = kStaticControlId;
    QString kind;        // "button", "group", "label", "edit", "bitmap", "icon"
    QString text;        // caption, or the picture's resource id for "bitmap" and "icon"
    QRect rect;          // dialog units
    QStringList styles;  // "default", "tabstop", "border", "readonly", "center", "autohscroll"

    bool Has(const char* style) const { return styles.contains(QLatin1String(style)); }
};

struct DialogTemplate {
    int id = 0;
    QString title;
    QString fontFamily;
    int fontPoints = 8;
    QSize size;  // dialog units
    std::vector<ControlTemplate> controls;
};

// Throws std::runtime_error when the resources hold no template with that id.
DialogTemplate LoadDialogTemplate(int id);
