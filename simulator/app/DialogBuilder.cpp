#include "app/DialogBuilder.h"

#include <stdexcept>

#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "res/Resources.h"

namespace {

// a * b / c rounded to the nearest integer, as the Windows dialog manager scales.
int ScaleRounded(int a, int b, int c)
{
    return (a * b + c / 2) / c;
}

QWidget* CreateButton(const ControlTemplate& control, QWidget& parent, bool& defaultTaken)
{
    auto* button = new QPushButton(control.text, &parent);
    if (control.Has("default") && !defaultTaken) {
        button->setDefault(true);
        defaultTaken = true;
    }
    return button;
}

QWidget* CreateLabel(const ControlTemplate& control, QWidget& parent, const DialogUnits& units)
{
    auto* label = new QLabel(control.text, &parent);
    label->setTextFormat(Qt::PlainText);
    // Only a label drawn with room for two lines or more is meant to wrap; a one-line
    // label whose text comes out a pixel wider than designed must not lose its tail
    // to a second, invisible line.
    label->setWordWrap(units.ToPixels(control.rect).height() >= 2 * units.BaseHeight());
    label->setAlignment((control.Has("center") ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    return label;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget& parent)
{
    auto* edit = new QLineEdit(&parent);
    edit->setFrame(control.Has("border"));
    edit->setReadOnly(control.Has("readonly"));
    return edit;
}

// Static pictures take the size of their image, not of their rectangle.
QWidget* CreatePicture(const QPixmap& picture, QWidget& parent)
{
    auto* label = new QLabel(&parent);
    label->setPixmap(picture);
    label->setFixedSize(picture.size());
    return label;
}

// Windows draws a group's title on its frame's top line, which is where the layouts
// expect it; Qt's own styles put it above the frame.
const QString kGroupStyle =
    QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
                   "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");

QWidget* CreateGroup(const ControlTemplate& control, QWidget& parent)
{
    auto* group = new QGroupBox(control.text, &parent);
    group->setStyleSheet(kGroupStyle);
    return group;
}

QWidget* CreateControl(const ControlTemplate& control, QWidget& parent, const DialogUnits& units, bool& defaultTaken)
{
    if (control.kind == QLatin1String("button")) return CreateButton(control, parent, defaultTaken);
    if (control.kind == QLatin1String("group")) return CreateGroup(control, parent);
    if (control.kind == QLatin1String("label")) return CreateLabel(control, parent, units);
    if (control.kind == QLatin1String("edit")) return CreateEdit(control, parent);
    if (control.kind == QLatin1String("bitmap")) return CreatePicture(LoadBitmap(control.text.toInt()), parent);
    if (control.kind == QLatin1String("icon"))
        return CreatePicture(LoadIcon(control.text.toInt()).pixmap(32, 32), parent);
    throw std::runtime_error("unknown control kind " + control.kind.toStdString());
}

Qt::FocusPolicy FocusPolicyOf(const ControlTemplate& control, const QWidget& widget)
{
    if (control.Has("tabstop")) return Qt::StrongFocus;
    // A field or button left out of the tab chain can still be clicked into.
    if (qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QPushButton*>(&widget)) return Qt::ClickFocus;
    return Qt::NoFocus;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = (alphabetWidth / 26 + 1) / 2;
    m_baseHeight = metrics.height();
}

QRect DialogUnits::ToPixels(const QRect& units) const
{
    return QRect(ScaleRounded(units.x(), m_baseWidth, 4), ScaleRounded(units.y(), m_baseHeight, 8),
                 ScaleRounded(units.width(), m_baseWidth, 4), ScaleRounded(units.height(), m_baseHeight, 8));
}

QSize DialogUnits::ToPixels(const QSize& units) const
{
    return QSize(ScaleRounded(units.width(), m_baseWidth, 4), ScaleRounded(units.height(), m_baseHeight, 8));
}

QFont DialogFont(const QString& family, int points)
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont font(family);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dotsPerInch = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    font.setPixelSize(ScaleRounded(points, dotsPerInch, 72));
    return font;
}

void BuildDialog(QDialog& dialog, const DialogTemplate& layout)
{
    dialog.setWindowTitle(layout.title);
    const QFont font = DialogFont(layout.fontFamily, layout.fontPoints);
    dialog.setFont(font);
    const DialogUnits units(font);
    dialog.setFixedSize(units.ToPixels(layout.size));

    bool defaultTaken = false;
    QWidget* previousInTabChain = nullptr;
    for (const ControlTemplate& control : layout.controls) {
        QWidget* widget = CreateControl(control, dialog, units, defaultTaken);
        if (control.id != kStaticControlId) widget->setObjectName(QString::number(control.id));
        const QRect rect = units.ToPixels(control.rect);
        if (widget->minimumSize() == widget->maximumSize())
            widget->move(rect.topLeft());
        else
            widget->setGeometry(rect);
        widget->setFocusPolicy(FocusPolicyOf(control, *widget));
        if (widget->focusPolicy() & Qt::TabFocus) {
            if (previousInTabChain) QWidget::setTabOrder(previousInTabChain, widget);
            previousInTabChain = widget;
        }
    }
}
