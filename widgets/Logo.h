#pragma once

#include <QIcon>
#include <QPixmap>

// The product's logo, drawn rather than shipped as an image so that it is sharp at every size.
// Each size is drawn when it is first asked for and kept for every later window.
namespace Logo {
QPixmap pixmap(const QSize &size, qreal devicePixelRatio = 1.0);
QIcon icon();
// A small picture of a few letters, for buttons about text, in the given ink.
QIcon letterIcon(const QString &letters, const QColor &ink);
// A triangle pointing ahead, the sign of "start", in the given ink.
QIcon playIcon(const QColor &ink);
} // namespace Logo
