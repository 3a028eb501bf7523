#pragma once

// What a user sees of the design and of the grid, to compare before and after an edit, and a designer
// whose main window is active, as edits that end by a click elsewhere need.

#include "design/designwindowids.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/fontvalue.h"
#include "widgets/propertygrid/propertygridview.h"

#include <QApplication>

#include <QtTest>

#include <memory>

namespace testing {

// What the user can see of the design: every widget's geometry, caption and font, the design
// window's geometry and caption, and the model's values.
struct DesignSnapshot
{
    QList<QRect> geometries;
    QStringList captions;
    QList<widgets::FontValue> fonts;
    QRect window;
    QSize client;
    QString title;
    int windowLeft = 0;
    int windowTop = 0;

    bool operator==(const DesignSnapshot &) const = default;
};

inline DesignSnapshot snapshot(const shell::Designer &designer)
{
    using widgets::Prop;
    const widgets::WidgetLayer &layer = designer.layer;
    DesignSnapshot s;
    for (const model::Component &component : designer.model.components) {
        const widgets::ControlRef &w = component.widget;
        s.geometries.append(QRect(layer.readInteger(w, Prop::Left), layer.readInteger(w, Prop::Top),
                                  layer.readInteger(w, Prop::Width), layer.readInteger(w, Prop::Height)));
        const auto caption = model::captionProperty(component.kind);
        s.captions.append(caption ? layer.readText(w, *caption) : QString());
        s.fonts.append(layer.readProperty(w, *model::fontProperty(component.kind)).value<widgets::FontValue>());
    }
    const widgets::ControlRef window = design::ids::DesignWindow;
    s.window = QRect(layer.readInteger(window, Prop::Left), layer.readInteger(window, Prop::Top),
                     layer.readInteger(window, Prop::Width), layer.readInteger(window, Prop::Height));
    s.client = QSize(layer.clientWidth(window), layer.clientHeight(window));
    s.title = layer.readText(window, Prop::WindowTitle);
    s.windowLeft = designer.model.windowLeft;
    s.windowTop = designer.model.windowTop;
    return s;
}

inline QStringList gridTexts(const widgets::WidgetLayer &layer)
{
    using widgets::Prop;
    QStringList texts;
    const int rows = layer.readInteger(shell::ids::PropertyGrid, Prop::GridRows);
    for (int row = 0; row < rows; ++row)
        texts << layer.cellText(shell::ids::PropertyGrid, row, 0) << layer.cellText(shell::ids::PropertyGrid, row, 1);
    return texts;
}

// Null where the main window did not show or could not be made active.
inline std::unique_ptr<shell::Designer> startActiveDesigner()
{
    auto designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    QWidget *window = designer->layer.widget(shell::ids::MainWindow);
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    // Ending an edit by a click elsewhere is a change of keyboard focus, which needs an active window.
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? std::move(designer) : nullptr;
}

// The designer a grid test drives, started afresh for each test function.
struct ActiveDesigner
{
    std::unique_ptr<shell::Designer> designer;

    bool start()
    {
        designer = startActiveDesigner();
        return designer != nullptr;
    }
    // False where a window outlived the designer.
    bool stop()
    {
        designer.reset();
        return QApplication::topLevelWidgets().isEmpty();
    }
    widgets::PropertyGridView *grid() const
    {
        return qobject_cast<widgets::PropertyGridView *>(designer->layer.widget(shell::ids::PropertyGrid));
    }
};

} // namespace testing
