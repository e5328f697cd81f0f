// Window lookup and control access for the watcher threads of the dialog tests.
#include "tests/support/window_watcher.h"

namespace {

struct FindRequest {
  DWORD processId;
  const char* title;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
  auto* request = reinterpret_cast<FindRequest*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != request->processId || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != request->title) return TRUE;
  if (request->className != nullptr && ClassName(window) != request->className) return TRUE;
  request->found = window;
  return FALSE;
}

DWORD WINAPI RunScript(LPVOID parameter) {
  (*static_cast<std::function<void()>*>(parameter))();
  return 0;
}

}  // namespace

HWND WaitForWindow(const char* title, const char* className, DWORD timeoutMs) {
  return WaitForProcessWindow(GetCurrentProcessId(), title, className, timeoutMs);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

HWND WaitForProcessWindow(DWORD processId, const char* title, const char* className,
                          DWORD timeoutMs) {
  FindRequest request{processId, title, className, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&request));
        return request.found != nullptr;
      },
      timeoutMs);
  return request.found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
  char text[512] = "";
  // WM_GETTEXT through SendMessageTimeout: a hung dialog must not hang the watcher too.
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

std::string ClassName(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ControlText(HWND dialog, int controlId) {
  return WindowText(GetDlgItem(dialog, controlId));
}

void SetControlText(HWND dialog, int controlId, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, controlId), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000, &result);
}

void PressButton(HWND dialog, int controlId) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

std::vector<HWND> VisibleChildren(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(child);
  return children;
}

std::string MessageBoxBody(HWND box) {
  // The body is the one visible static control that holds text.
  for (HWND child : VisibleChildren(box))
    if (ClassName(child) == "Static" && !WindowText(child).empty()) return WindowText(child);
  return "";
}

std::vector<std::string> MessageBoxButtons(HWND box) {
  std::vector<std::string> buttons;
  for (HWND child : VisibleChildren(box))
    if (ClassName(child) == "Button") buttons.push_back(WindowText(child));
  return buttons;
}

WindowWatcher::WindowWatcher(std::function<void()> script) : script_(std::move(script)) {
  thread_ = CreateThread(nullptr, 0, RunScript, &script_, 0, nullptr);
}

WindowWatcher::~WindowWatcher() {
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, 2 * kWindowTimeoutMs);
    CloseHandle(thread_);
  }
}

bool WindowWatcher::Join(DWORD timeoutMs) {
  return WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
}
