#pragma once

#include <QIcon>
#include <QPixmap>

// The product's logo, drawn rather than shipped as an image so that it is sharp at every size.
namespace Logo {
QPixmap pixmap(const QSize &size, qreal devicePixelRatio = 1.0);
QIcon icon();
// A small picture of a few letters, for buttons about text.
QIcon letterIcon(const QString &letters);
} // namespace Logo
