#pragma once

#include "widgets/propertygrid/gridcontrol.h"
#include "widgets/propertygrid/propertygridview.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace widgets::testing {

inline const QString LongText(100000, QChar(0x5B57));
inline const QString ControlText = QStringLiteral("a\tb\r\nc\x01\x1b\x7f");
inline const QString EmojiText = QStringLiteral("😀👍🏽🇨🇳");

// The property grid of the main window, in a window with a line edit to click away to.
struct GridWindow
{
    QWidget window;
    GridControl control{&window};
    QLineEdit other{&window};
    QLabel inert{QStringLiteral("no focus here"), &window};

    GridWindow()
    {
        ControlLook look;
        look.gridLines = 0xECECEC;
        look.defaultRowHeight = 26;
        look.background = 0xFFFFFF;
        control.applyLook(look);
        grid()->setGeometry(10, 10, 178, 434);
        other.setGeometry(200, 10, 100, 24);
        inert.setGeometry(200, 50, 100, 24);
        window.resize(320, 460);
    }
    PropertyGridView *grid() const { return control.grid(); }
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }
    // Seven rows of two columns, as the window's properties are shown.
    void fill(const QString &suffix = QString())
    {
        grid()->setRowCount(7);
        grid()->setColumnCount(2);
        grid()->setColumnWidth(0, 60);
        grid()->setColumnWidth(1, 114);
        for (int row = 0; row < 7; ++row) {
            grid()->setCellText(row, 0, QStringLiteral("label%1").arg(row));
            grid()->setCellText(row, 1, QStringLiteral("value%1%2").arg(row).arg(suffix));
        }
    }
    // Makes grid cell (row, column) the current one without editing it.
    void select(int row, int column)
    {
        grid()->setFocus();
        grid()->setCurrentCell(row - 1, column - 1);
    }
    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(grid()->openEditor()); }
};

// Qt's delegate commits a Return or Enter through a queued call, after the key has reached the editor.
inline void pressReturn(QWidget *editor, Qt::Key key = Qt::Key_Return)
{
    QTest::keyClick(editor, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCoreApplication::processEvents();
}

} // namespace widgets::testing
