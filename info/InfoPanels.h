#pragma once

#include <QString>

// Which panel of the content stack each tab of the top strip brings to the front,
// and how wide the Info side panel is.
namespace InfoPanels {

inline constexpr int CollapsedWidth = 30;

// The objectName of the panel for a tab (0 Thesaurus Tool ... 4 Settings).
QString panelForTab(int tab, bool online);

// Half the client width, a half pixel going to the even neighbour.
int expandedWidth(int clientWidth);

} // namespace InfoPanels
