#pragma once

namespace design {
struct DesignerState;
}

namespace codegen {

// One-time set-up of the code view's editor at start-up.
void setUpCodeView(design::DesignerState &designer);
// Replaces the code view's whole text with the program generated for the design now.
void showGeneratedCode(design::DesignerState &designer);
// Fits the line-number margin to the number of lines: (digits + 1) x 10 pixels.
void fitLineNumberMargin(design::DesignerState &designer);

// The line-number margin's width for a document of that many lines: (digits + 1) x 10 pixels.
int lineNumberMarginWidth(long lineCount);

} // namespace codegen
