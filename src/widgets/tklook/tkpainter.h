#pragma once

#include "widgets/fontvalue.h"
#include "widgets/tklook/tklayout.h"

#include <QFont>
#include <QObject>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

namespace widgets {

// What a control in Tk's look shows at the moment.
struct TkContent
{
    QString text;
    FontValue font;
    bool checked = false;       // a check box's own state
    bool pressed = false;       // a button held down
};

// Paints a widget as Tk draws the widget of its class in the generated program, in place of Qt's
// own painting. Only the painting changes: the widget keeps its events, focus and accessibility.
class TkPainter : public QObject
{
public:
    using ContentSource = std::function<TkContent()>;

    TkPainter(QWidget *widget, tk::WidgetClass widgetClass, ContentSource content);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paint(QWidget *widget) const;
    void paintText(QPainter &painter, QWidget *widget, const TkContent &content) const;

    tk::WidgetClass m_class;
    ContentSource m_content;
};

// The font Tk uses for the (face, points) pair the generated program writes for the font record:
// the same face name, at the size in whole points that the program gives Tk.
QFont tkFont(const FontValue &font);
// The size in pixels Tk gives that font.
qreal tkPixelSize(const FontValue &font);

} // namespace widgets
