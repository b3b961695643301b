#pragma once
// The program's icon, the drawings the desktop shows from the hicolor theme, compiled in.

namespace pelmora {

// Gives every window of the application the program's icon.
void useProgramIcon();

}  // namespace pelmora
