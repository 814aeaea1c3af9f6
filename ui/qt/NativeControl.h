#pragma once

// Under Qt a control is a widget.
class QWidget;
using NativeControl = QWidget*;
