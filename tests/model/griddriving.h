#pragma once

// Drives the property grid the way a user does: keys, clicks, typing and pasting.

#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/propertygrid/propertygridview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

namespace testing {

inline widgets::PropertyGridView *propertyGrid(const shell::Designer &designer)
{
    return qobject_cast<widgets::PropertyGridView *>(designer.layer.widget(shell::ids::PropertyGrid));
}

// The grid row whose label column reads `label`, or -1.
inline int rowOf(const shell::Designer &designer, const QString &label)
{
    const int rows = designer.layer.readInteger(shell::ids::PropertyGrid, widgets::Prop::GridRows);
    for (int row = 1; row < rows; ++row) {
        if (designer.layer.cellText(shell::ids::PropertyGrid, row, 0) == label)
            return row;
    }
    return -1;
}

// The centre of a value cell in the grid's viewport.
inline QPoint valueCellCentre(widgets::PropertyGridView *grid, int row)
{
    return grid->visualRect(grid->model()->index(row - 1, 0)).center();
}

// The events of a real double click, which QTest::mouseDClick alone does not send: press, release,
// press, double click, release.
inline void doubleClickValueCell(widgets::PropertyGridView *grid, int row)
{
    const QPoint at = valueCellCentre(grid, row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}

// Makes a value cell current and opens it with F2.
inline QLineEdit *openWithF2(widgets::PropertyGridView *grid, int row)
{
    grid->setFocus();
    grid->setCurrentCell(row - 1, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    return qobject_cast<QLineEdit *>(grid->openEditor());
}

// Types what a keyboard can type, one character at a time (a character outside the basic plane
// arrives whole, as an input method delivers it); anything else, and long texts, is pasted.
inline void enterText(QLineEdit *editor, const QString &text)
{
    bool typable = text.size() <= 200;
    for (QChar ch : text)
        typable = typable && (ch.isPrint() || ch.isSurrogate());
    if (!typable) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Replaces the whole text of an open editor.
inline void replaceText(QLineEdit *editor, const QString &text)
{
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    enterText(editor, text);
}

// Presses a key in the open editor. The delegate commits on Return only after the editor has seen
// the key (a queued call), so what is posted is delivered before this returns.
inline void pressInEditor(QWidget *editor, Qt::Key key)
{
    QTest::keyClick(editor, key);
    QCoreApplication::sendPostedEvents();
}

// A whole edit: F2 on the row's value cell, the new text, Return. False when no editor opened.
inline bool editRow(shell::Designer &designer, int row, const QString &text)
{
    QLineEdit *editor = openWithF2(propertyGrid(designer), row);
    if (!editor)
        return false;
    replaceText(editor, text);
    pressInEditor(editor, Qt::Key_Return);
    return true;
}

} // namespace testing
