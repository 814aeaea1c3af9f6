#pragma once

// Private to ui/win32/: what screen readers are told about a control's
// window beyond what the system's accessibility proxies find themselves (a
// static text's name is its text, a list view's rows are its items, a
// window's name is its caption). Annotations go through the system's
// IAccPropServices; where it is missing they are left out.

#include <windows.h>

#include <string>

void AnnotateName(HWND hwnd, const std::wstring& name);
void AnnotateDescription(HWND hwnd, const std::wstring& description);
void AnnotateRole(HWND hwnd, LONG role);
// Hidden from screen readers (an empty picture box) or offered as usual.
void AnnotateOffered(HWND hwnd, bool offered);

class TControl;

// Tells screen readers the name the control's window is read by: a label's
// value with its unit, a picture's name while it shows a picture, a list's or
// grid's caption, a progress bar's window caption. Run again whenever one of
// these changes.
void RefreshAccessibleName(TControl& control);
