#include "info/BuiltInText.h"

#include "info/SiteAddress.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QRegularExpression>

BuiltInText::BuiltInText(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) { Q_EMIT linkClicked(url.toString()); });
}

QString BuiltInText::toHtml(const QString &plainText)
{
    static const QRegularExpression address(QStringLiteral(R"((https?://[^\s<>"]+[^\s<>".,;:!?)]))"));
    QString html;
    const QStringList lines = plainText.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QString paragraph;
        qsizetype at = 0;
        for (const QRegularExpressionMatch &match : address.globalMatch(line)) {
            paragraph += line.mid(at, match.capturedStart() - at).toHtmlEscaped();
            const QString link = match.captured().toHtmlEscaped();
            paragraph += QStringLiteral("<a href=\"%1\">%1</a>").arg(link);
            at = match.capturedEnd();
        }
        paragraph += line.mid(at).toHtmlEscaped();
        html += QStringLiteral("<p style=\"margin:0; white-space:pre-wrap;\">%1</p>")
                    .arg(paragraph.isEmpty() ? QStringLiteral("&nbsp;") : paragraph);
    }
    return html;
}

void BuiltInText::setPlainLines(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("%SITE%"), SiteAddress::baseUrl());
    setHtml(toHtml(lines));
}

void BuiltInText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QString anchor = anchorAt(event->position().toPoint());
        if (!anchor.isEmpty()) {
            Q_EMIT linkClicked(anchor);
            event->accept();
            return;
        }
    }
    QTextBrowser::mousePressEvent(event);
}

void BuiltInText::contextMenuEvent(QContextMenuEvent *event)
{
    // A right click on a link opens it instead of the menu.
    if (event->reason() == QContextMenuEvent::Mouse && !anchorAt(event->pos()).isEmpty()) {
        event->accept();
        return;
    }
    QTextBrowser::contextMenuEvent(event);
}
