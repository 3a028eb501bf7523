#pragma once

namespace shell {
struct Designer;
}

namespace codegen {

// One-time set-up of the code view's editor at start-up.
void setUpCodeView(shell::Designer &designer);
// Replaces the code view's whole text with the program generated for the design now.
void showGeneratedCode(shell::Designer &designer);
// Fits the line-number margin to the number of lines: (digits + 1) x 10 pixels.
void fitLineNumberMargin(shell::Designer &designer);

// The line-number margin's width for a document of that many lines: (digits + 1) x 10 pixels.
int lineNumberMarginWidth(long lineCount);

} // namespace codegen
