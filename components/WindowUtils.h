#pragma once
// Window, module and message routines of the component library.

#include <windows.h>

#include <string>

class TControl;
class TCanvas;

// Loads a library with the system's file-error boxes off; raises the last
// system error when it cannot be loaded.
HMODULE LoadDLL(const std::string& fileName);
// True when the library exports a registration entry and it was called.
bool RegisterServer(const std::string& fileName);
void Beep();
// Drops the reference to the OLE automation library that this routine took
// itself, if any; one the program holds otherwise is never touched.
void FreeUnusedOle();
// Takes the reference FreeUnusedOle may later drop.
void LoadOleForRelease();

// Removes one pending message of that kind for the window; a quit message
// so removed is posted again.
void KillMessage(HWND window, UINT message);
// Handles the application's messages until the time has passed.
void Delay(DWORD milliseconds);

void CenterControl(TControl& control);
void CenterWindow(HWND window);
// Makes the form a borderless child of the container, aligned as given or at
// its place relative to the container's client origin.
void MergeForm(TControl& container, TControl& form, int alignment, bool show);
void ShowMDIClientEdge(HWND clientWindow, bool show);
// Paints what lies behind the control (its parent's painting) onto the canvas.
void CopyParentImage(TControl& control, TCanvas& canvas);

RECT ScreenWorkArea();
std::string WindowClassName(HWND window);
void ShowWinNoAnimate(HWND window, int showCommand);
void SwitchToWindow(HWND window, bool restore);
HWND WindowOwner(HWND window);

void ActivateWindow(HWND window);
HWND FindPrevInstance(const std::string& mainFormClass, const std::string& title);
bool ActivatePrevInstance(const std::string& mainFormClass, const std::string& title);
bool IsForegroundTask();
