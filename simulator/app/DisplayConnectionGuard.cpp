#include "app/DisplayConnectionGuard.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QString>

namespace {

struct HeldMessage {
    QtMsgType type;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;

void ExplainMissingDisplay()
{
    const char* display = std::getenv("DISPLAY");
    const QString where = display && *display ? QStringLiteral("l'affichage « %1 » ne répond pas").arg(display)
                                              : QStringLiteral("aucun affichage (DISPLAY n'est pas défini)");
    std::fprintf(stderr, "%s\n",
                 qUtf8Printable(QStringLiteral("marlune : %1 ; Marlune a besoin d'un écran, marlune-run fait les "
                                               "parcours sans fenêtre.")
                                    .arg(where)));
}

void HoldOrGiveUp(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg) {
        ExplainMissingDisplay();
        std::_Exit(1);
    }
    heldMessages.push_back({type, text});
}

}  // namespace

DisplayConnectionGuard::DisplayConnectionGuard()
{
    heldMessages.clear();
    previousHandler = qInstallMessageHandler(HoldOrGiveUp);
}

DisplayConnectionGuard::~DisplayConnectionGuard()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : heldMessages) {
        const QMessageLogContext context;
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}
