#include "app/RunHints.h"

#include <QStringList>

namespace {

// Every key the simulation window answers to once the run has started, in the order
// the hint lists them: a key added to the run loop belongs here too.
struct KeyHint {
    const char* key;
    const char* action;
};
constexpr KeyHint kRunKeys[] = {
    {"p", "pause"},      {"t", "faisceaux"}, {"+ -", "cadence"}, {"n", "un pas en pause"},
    {"1 à 4", "taille"}, {"i", "inférence"}, {"Échap", "fin"},
};

constexpr int kRunningHintMs = 4000;

QString KeyList()
{
    // An entry wrapped to the band's width stays on one line: its spaces do not break.
    QStringList entries;
    for (const KeyHint& hint : kRunKeys)
        entries << QString(QString::fromUtf8(hint.key) + QStringLiteral(" : ") + QString::fromUtf8(hint.action))
                       .replace(QLatin1Char(' '), QChar::Nbsp);
    return entries.join(QStringLiteral("   "));
}

}  // namespace

RunHint RunHintFor(bool started, bool paused)
{
    QString first;
    if (!started) first = QStringLiteral("En attente de g ou d'un clic");
    if (paused)
        first = first.isEmpty() ? QStringLiteral("PAUSE : p pour reprendre")
                                : QStringLiteral("PAUSE (p pour reprendre) - ") + first;
    if (first.isEmpty()) return {KeyList(), kRunningHintMs};
    return {first + QLatin1Char('\n') + KeyList(), 0};
}
