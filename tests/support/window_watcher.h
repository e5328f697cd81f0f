// Drives this process's windows as a user would, from a watcher thread while the test's
// own thread sits in a modal loop: finds a window (with a timeout), reads its texts,
// presses its buttons. Every wait ends, so a test that goes wrong fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

inline constexpr DWORD kWindowTimeoutMs = 10000;

// Asks condition every 20 ms until it holds or timeoutMs have passed; whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTimeoutMs);

// Waits for a visible top-level window of this process with that title (and class, when
// given); null after the timeout.
HWND WaitForWindow(const char* title, const char* className = nullptr,
                   DWORD timeoutMs = kWindowTimeoutMs);

// The same for a window of another process, such as a program that the test started.
HWND WaitForProcessWindow(DWORD processId, const char* title, const char* className = nullptr,
                          DWORD timeoutMs = kWindowTimeoutMs);

// Waits until the window is gone; false after the timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWindowTimeoutMs);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::string ControlText(HWND dialog, int controlId);
void SetControlText(HWND dialog, int controlId, const std::string& text);

// Presses a button the way a click does: the dialog receives WM_COMMAND with BN_CLICKED.
void PressButton(HWND dialog, int controlId);

// The visible child windows of a dialog, in Z order (which is the tab order of a template).
std::vector<HWND> VisibleChildren(HWND dialog);

// The body text of a message box, and the texts of its visible buttons.
std::string MessageBoxBody(HWND box);
std::vector<std::string> MessageBoxButtons(HWND box);

// Runs a script on a watcher thread beside the caller's modal call. Join() waits for the
// script with a timeout and reports whether it finished; a script that fails can post
// WM_CLOSE/IDCANCEL itself so that the modal call returns.
class WindowWatcher {
 public:
  explicit WindowWatcher(std::function<void()> script);
  ~WindowWatcher();
  bool Join(DWORD timeoutMs = 2 * kWindowTimeoutMs);

 private:
  HANDLE thread_ = nullptr;
  std::function<void()> script_;
};
