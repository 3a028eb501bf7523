#pragma once

namespace design {
struct DesignerState;
}

namespace model {

// Writes every value row of the property grid back to what the grid shows (the design window and
// the model, or the shown component's widget), then redisplays the grid from what they actually
// took. Bound to the grid's edit-ended notification.
void applyPropertyEdits(design::DesignerState &designer);

// Ends an in-place edit that is still open in the grid, as a click elsewhere would: the typed
// text is kept and applied. Does nothing while the edits are being applied, so that the editor
// Tab has opened on the next cell stays open.
void finishPropertyEdit(design::DesignerState &designer);

} // namespace model
