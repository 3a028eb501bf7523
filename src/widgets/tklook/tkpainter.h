#pragma once

#include "widgets/tklook/tklook.h"

#include <QColor>
#include <QObject>

#include <optional>

class QImage;

namespace widgets::tk {

// Paints a widget as Tk draws the widget of its class in the generated program, in place of Qt's
// own painting. Only the painting changes: the widget keeps its events, focus and accessibility.
class TkPainter : public QObject
{
public:
    TkPainter(QWidget *widget, WidgetClass widgetClass, ContentSource content);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paint(QWidget *widget, const QRect &exposed) const;
    // How the text is drawn: its colour, and the relief that moves a button's text.
    struct TextStyle
    {
        QColor foreground;
        Relief relief;
    };
    // Draws the text into the canvas, which shows the widget's pixels from `origin` on; answers where
    // the indicator's centre is, for a radio or check button that shows one.
    std::optional<QPoint> paintText(QImage &canvas, QPoint origin, QSize size, const Content &content,
                                    const TextStyle &style) const;

    WidgetClass m_class;
    ContentSource m_content;
};

} // namespace widgets::tk
