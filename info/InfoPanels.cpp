#include "info/InfoPanels.h"

#include "common/LayoutMath.h"

namespace InfoPanels {

QString panelForTab(int tab, bool online)
{
    switch (tab) {
    case 1: return online ? QStringLiteral("pnlWebHelp") : QStringLiteral("pnlReadMePanel");
    case 2: return online ? QStringLiteral("pnlWebAbout") : QStringLiteral("pnlHelpPanel");
    case 3: return online ? QStringLiteral("pnlWebContacts") : QStringLiteral("pnlNewsLetterPanel");
    case 4: return online ? QStringLiteral("pnlWebSettings") : QStringLiteral("pnlSettings");
    default: return QStringLiteral("pnlSearchPanel");
    }
}

int expandedWidth(int clientWidth)
{
    return halfRoundedToEven(clientWidth);
}

} // namespace InfoPanels
