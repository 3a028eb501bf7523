#pragma once

namespace shell {
struct Designer;
}

namespace model {

// Writes every value row of the property grid back to the window, the model or the shown widget,
// then redisplays the grid from what they actually took.
void applyPropertyEdits(shell::Designer &designer);

} // namespace model
