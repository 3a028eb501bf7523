#pragma once

#include "widgets/control.h"
#include "widgets/layouttable.h"

#include <QPointer>
#include <QRect>

#include <optional>

class QMdiSubWindow;

namespace widgets {

// A window of a layout table. A native window is a top-level widget framed by the window manager;
// a drawn one frames itself (title bar, buttons, sizable border), so it can also sit inside another
// window's control.
class WindowControl : public QObject, public Control
{
    Q_OBJECT

public:
    explicit WindowControl(const WindowEntry &entry);
    ~WindowControl() override;

    QWidget *widget() const override;
    QWidget *clientWidget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;

    WindowFrame frame() const { return m_frame; }
    QSize clientSize() const;
    // The outer rectangle in the parent's client coordinates (the screen for a top-level window).
    QRect screenGeometry() const override;
    void setScreenGeometry(const QRect &rect) override;

    // Where the client area places its controls from (WindowEntry). Setting it moves none of them.
    QPoint childOrigin() const { return m_childOrigin; }
    void setChildOrigin(QPoint origin) { m_childOrigin = origin; }

    // The user cannot size the window below the smallest client size or beyond the largest outer size.
    // The largest counts the window manager's frame, which is known only once the window is shown and
    // may change with its state, so the client limit is worked out again whenever the window moves,
    // resizes or is shown. A window must fit the screen: where the largest falls below the smallest,
    // the smallest gives way.
    void setSizeLimits(QSize smallestClient, QSize largestOuter);

    // From now on, moves and resizes raise their events; before, they are the loader's business.
    void startReporting();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A top-level window larger than the screen starts at what fits with a frame reckoned with; once
    // the window manager's frame is known, it takes the largest size that fits. A centred one is
    // centred by its own size until then, as without a window manager, and by its frame after.
    void fitStartSize();
    void centre();
    void applyLargestSize();

    WindowFrame m_frame;
    QPointer<QWidget> m_outer;
    QPointer<QWidget> m_client;
    QMdiSubWindow *m_subWindow = nullptr;
    std::optional<QSize> m_largestOuter; // set by setSizeLimits; none means no limit of ours
    std::optional<QSize> m_cutStartSize;  // the size the table asked for, until the frame is known
    bool m_centring = false;              // centred by the table, until the frame is known
    QPoint m_childOrigin;
    QRect m_reported;           // the geometry last reported, so repeated notices raise nothing
    bool m_reporting = false;
};

} // namespace widgets
