#pragma once

// The window's control classes, the application object and the one entry
// through which every event handler runs.
#include "ui/Dispatch.h"
#include "ui/TApplication.h"
#include "ui/TButton.h"
#include "ui/TComboBox.h"
#include "ui/TControl.h"
#include "ui/TForm.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TPanel.h"
#include "ui/TProgressBar.h"
#include "ui/TStringGrid.h"
