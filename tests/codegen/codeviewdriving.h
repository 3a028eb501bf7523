#pragma once

#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/codeeditor/codeeditorwidget.h"

#include <QApplication>
#include <QTest>

#include <memory>

namespace testsupport {

using Sci = QsciScintillaBase;

inline QByteArray documentBytes(const widgets::CodeEditorWidget *editor)
{
    const long length = editor->SendScintilla(Sci::SCI_GETTEXTLENGTH);
    QByteArray bytes(length + 1, '\0');
    editor->SendScintilla(Sci::SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
    bytes.truncate(length);
    return bytes;
}

inline QByteArray selectedBytes(const widgets::CodeEditorWidget *editor)
{
    const long start = editor->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    const long end = editor->SendScintilla(Sci::SCI_GETSELECTIONEND);
    return documentBytes(editor).mid(start, end - start);
}

// The designer started with its code view's editor made, as the code view tests drive it.
struct CodeViewDriving
{
    std::unique_ptr<shell::Designer> designer;

    // False where the main window did not show or the editor was made before it was needed.
    bool start()
    {
        designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
        designer->start();
        if (!QTest::qWaitForWindowExposed(designer->layer.widget(shell::ids::MainWindow)))
            return false;
        // The code panel starts hidden, and its editor is made when first needed.
        if (designer->layer.widget(shell::ids::CodeView)->findChild<widgets::CodeEditorWidget *>())
            return false;
        return editor() != nullptr;
    }
    widgets::CodeEditorWidget *editor() const
    {
        auto *control = dynamic_cast<widgets::CodeEditorControl *>(designer->layer.control(shell::ids::CodeView));
        return control ? qobject_cast<widgets::CodeEditorWidget *>(control->editor()) : nullptr;
    }
    // As the user does it: a click on the code panel button.
    void pressCodeButton()
    {
        QWidget *button = designer->layer.widget(shell::ids::CodePanelButton);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
};

} // namespace testsupport
