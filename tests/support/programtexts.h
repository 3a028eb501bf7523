#pragma once

// Program texts that more than one test compares with.

#include "widgets/textconversion.h"

#include <QString>

namespace testsupport {

// The designer's program for a 400 x 300 window at (100, 100) with one widget of each kind, placed in
// the order label, entry, button, radio button, check button, each keeping its template's caption,
// size and font.
inline const QString OneOfEachKindProgram = QStringLiteral(
    "from tkinter import *\r\n"
    "\r\n"
    "Window = Tk()\r\n"
    "Window.title('')\r\n"
    "Window.geometry('400x300+100+100')\r\n"
    "\r\n"
    "Label1 = Label(Window, text='标签', font=('微软雅黑', 9), anchor=W).place(y=16, x=16, width=120, height=20)\r\n"
    "\r\n"
    "Entry2 = Entry(Window, font=('微软雅黑', 9)).place(y=48, x=16, width=120, height=20)\r\n"
    "\r\n"
    "Button3 = Button(Window, text='按钮', font=('微软雅黑', 9)).place(y=80, x=16, width=88, height=32)\r\n"
    "\r\n"
    "RadioButton4 = Radiobutton(Window, text='单选框', font=('微软雅黑', 9), anchor=W).place(y=16, x=160, width=120, height=20)\r\n"
    "\r\n"
    "CheckButton5 = Checkbutton(Window, text='复选框', font=('微软雅黑', 9), anchor=W).place(y=48, x=160, width=120, height=20)\r\n"
    "\r\n"
    "Window.mainloop()");

// What a text becomes in a program file, for the tests about something else: the part Tk takes
// (widgets::textBeforeNul), where a lone surrogate, which no file can hold, becomes U+FFFD.
inline QString programText(const QString &text)
{
    QString sound = widgets::textBeforeNul(text).toString();
    for (qsizetype i = 0; i < sound.size(); ++i) {
        const QChar c = sound.at(i);
        if (c.isHighSurrogate() && i + 1 < sound.size() && sound.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            sound[i] = QChar(QChar::ReplacementCharacter);
    }
    return sound;
}

} // namespace testsupport
