#pragma once

#include <QTextBrowser>

// A read-only text of the window: plain lines, one paragraph each, with every
// web address shown as a link that a left or a right click opens in the browser.
class BuiltInText : public QTextBrowser
{
    Q_OBJECT

public:
    explicit BuiltInText(QWidget *parent = nullptr);

    // Lines of plain text; "%SITE%" stands for the site's base address.
    void setPlainLines(const QString &text);

    // The text as HTML, with the addresses turned into links.
    static QString toHtml(const QString &plainText);

Q_SIGNALS:
    void linkClicked(const QString &address);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};
