#include "payload/common/Companion.h"

#include <wchar.h>

namespace {

const wchar_t kTraceKey[] = L"SOFTWARE\\NuvraBrowser\\Trace";
const wchar_t kWindowClass[] = L"NuvraCompanionWindow";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

class UserKey {
 public:
  explicit UserKey(const wchar_t* subKey) {
    status_ = RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
  }
  ~UserKey() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  UserKey(const UserKey&) = delete;
  UserKey& operator=(const UserKey&) = delete;

  LSTATUS status() const { return status_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LSTATUS status_;
};

// REG_SZ with its terminating null, `length` characters of text.
LSTATUS SetString(HKEY key, const wchar_t* name, const wchar_t* text, size_t length) {
  DWORD bytes = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LRESULT CALLBACK CompanionWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      wchar_t title[128];
      int length = GetWindowTextW(hwnd, title, 128);
      RECT client;
      GetClientRect(hwnd, &client);
      SetBkMode(dc, TRANSPARENT);
      SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
      DrawTextW(dc, title, length, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

ArgumentText FindArgumentText(const wchar_t* commandLine) {
  const wchar_t* p = commandLine ? commandLine : L"";
  if (*p == L'"') {
    // A quoted path may hold blanks; it ends at the closing quote.
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p == L'"') ++p;
  } else {
    while (*p && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  size_t length = wcslen(p);
  while (length > 0 && IsBlank(p[length - 1])) --length;
  return ArgumentText{p, length};
}

ArgumentText OwnArgumentText() { return FindArgumentText(GetCommandLineW()); }

bool ArgumentIs(const ArgumentText& args, const wchar_t* word) {
  size_t length = wcslen(word);
  return args.length == length && _wcsnicmp(args.begin, word, length) == 0;
}

LSTATUS SetUserString(const wchar_t* subKey, const wchar_t* name, const wchar_t* value) {
  UserKey key(subKey);
  if (key.status() != ERROR_SUCCESS) return key.status();
  return SetString(key.get(), name, value, wcslen(value));
}

TextBuilder::TextBuilder(wchar_t* buffer, size_t capacity)
    : buffer_(buffer), capacity_(capacity), fits_(capacity > 0) {
  if (fits_) buffer_[0] = L'\0';
}

TextBuilder& TextBuilder::Add(const wchar_t* text, size_t length) {
  if (!fits_ || length >= capacity_ - length_) {
    fits_ = false;
    return *this;
  }
  wmemcpy(buffer_ + length_, text, length);
  length_ += length;
  buffer_[length_] = L'\0';
  return *this;
}

TextBuilder& TextBuilder::Add(const wchar_t* text) { return Add(text, wcslen(text)); }

DWORD GetOwnPath(wchar_t* path) {
  DWORD length = GetModuleFileNameW(nullptr, path, kMaxWideText);
  if (length == 0) return GetLastError();
  // A full buffer means the path was cut (XP does not even terminate it).
  if (length >= kMaxWideText) return ERROR_INSUFFICIENT_BUFFER;
  return ERROR_SUCCESS;
}

DWORD WriteLaunchTrace(const wchar_t* programName) {
  // On the stack: a zero-filled static would be stored in the file.
  wchar_t args[kMaxWideText];
  ArgumentText found = OwnArgumentText();
  TextBuilder argText(args, kMaxWideText);
  if (!argText.Add(found.begin, found.length).Fits()) return ERROR_INSUFFICIENT_BUFFER;

  UserKey key(kTraceKey);
  if (key.status() != ERROR_SUCCESS) return key.status();
  LSTATUS status = SetString(key.get(), programName, argText.Text(), argText.Length());
  if (status != ERROR_SUCCESS) return status;

  wchar_t path[kMaxWideText];
  DWORD error = GetOwnPath(path);
  if (error != ERROR_SUCCESS) return error;
  wchar_t pathValue[MAX_PATH];
  TextBuilder pathName(pathValue, MAX_PATH);
  if (!pathName.Add(programName).Add(L".path").Fits()) return ERROR_INVALID_PARAMETER;
  return SetString(key.get(), pathName.Text(), path, wcslen(path));
}

NamedMutex::NamedMutex(const wchar_t* name) : handle_(CreateMutexW(nullptr, TRUE, name)) {}

NamedMutex::~NamedMutex() {
  if (handle_) CloseHandle(handle_);
}

int RunCompanionWindow(HINSTANCE instance, const wchar_t* title, int showCommand) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = CompanionWndProc;
  wc.hInstance = instance;
  // Icon 1 is the program's own icon where it has one.
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) return static_cast<int>(GetLastError());

  HWND hwnd = CreateWindowExW(0, kWindowClass, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              CW_USEDEFAULT, CW_USEDEFAULT, 360, 140, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return static_cast<int>(GetLastError());
  ShowWindow(hwnd, showCommand);
  // The first ShowWindow takes the starter's show command instead when the
  // starter gave one (a hidden start); a window asked for stays visible.
  if (showCommand != SW_HIDE && !IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);

  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return static_cast<int>(GetLastError());
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
