// The windows with one report list, the folder tree and the overview of all mailboxes:
// what each keeps in the main window's section of the store (its placement, the list's
// widths with the screen's DPI, and the list's sort where the names have a value for
// it, each under its own names), and where their controls go.
#pragma once

#include "view/tree_layout.h"
#include "view/window_state.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class AppServices;
class CReportList;

// The list's widths (and sort) from the store, then the window put where it was: true
// when a placement was stored, false when the caller places the window. `storedWidths`
// receives the widths as the store held them.
bool RestoreListWindow(AppServices& app, HWND window, CReportList& list,
                       const view::WindowStateNames& names, std::vector<int32_t>& storedWidths);

// The window's placement and the list's widths (and sort) back to the store.
void SaveListWindow(AppServices& app, HWND window, const CReportList& list,
                    const view::WindowStateNames& names, const std::vector<int32_t>& storedWidths);

// Moves the list, the status line and the buttons Hilfe and Schließen of such a window
// where view::ComputeTreeLayout puts them for its client size; the layout, for what
// else the window places.
view::TreeLayout PlaceListWindowControls(HWND window, HWND list, HWND status, int clientWidth,
                                         int clientHeight, const view::LayoutMetrics& metrics,
                                         int statusHeight);
