#pragma once

// Private to ui/: what screen readers are told about the controls. Our own
// widgets (labels, pictures, the grid, the progress bar, the window) get
// accessibles that know the control's caption label, unit and name; Qt's own
// controls keep theirs.
void InstallAccessibility();
