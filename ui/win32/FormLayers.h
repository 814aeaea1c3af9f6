#pragma once

// Private to ui/win32/: the stacking order of a form's windows, which is also
// the order the keyboard focus moves in (the dialog manager walks it).

#include "ui/TControl.h"

#include <windows.h>

#include <memory>
#include <vector>

class TForm;

// Among siblings, controls that take the focus or hold others come in their
// tab order, below the rest (in creation order); a caption comes right above
// the control it names and a unit right below its value. Where the order
// puts an earlier control above a later one it overlaps, the earlier window
// gets a hole there, so later controls still lie above earlier ones: they
// show and take clicks there, whatever size the earlier one grows to.
void ApplyLayers(TForm& form, const std::vector<std::unique_ptr<TControl>>& controls);

// Cuts the holes again, for windows that moved, grew or were shown or
// hidden since; the stacking order stays.
void CutHoles(TForm& form, const std::vector<std::unique_ptr<TControl>>& controls);
