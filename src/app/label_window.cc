#include "app/label_window.h"

#include <memory>
#include <string>
#include <utility>

#include "app/control_class.h"
#include "win32/owned_handle.h"
#include "app/window_messages.h"
#include "app/window_state.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanLabel";

struct Label {
  HFONT font = nullptr;
  bool transparent = false;
  win32::Brush background;
};

std::wstring window_text(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

// Breaks the text into lines that fit the width: at line breaks, and wherever a character
// would pass the right edge (blanks at a line start are dropped). Chinese has no spaces to
// break at, so the break goes between any two characters.
std::wstring wrap_lines(HDC dc, const std::wstring& text, int width) {
  std::wstring out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    while (!line.empty()) {
      int fit = 0;
      SIZE size;
      GetTextExtentExPointW(dc, line.c_str(), static_cast<int>(line.size()), width, &fit, nullptr,
                            &size);
      if (fit <= 0) fit = 1;
      if (static_cast<size_t>(fit) >= line.size()) break;
      out.append(line, 0, static_cast<size_t>(fit));
      out += L"\r\n";
      line.erase(0, static_cast<size_t>(fit));
      size_t blanks = line.find_first_not_of(L' ');
      line.erase(0, blanks == std::wstring::npos ? line.size() : blanks);
    }
    out += line;
    if (end >= text.size()) break;
    out += L"\r\n";
    start = end + 1;
  }
  return out;
}

void paint(HWND hwnd, const Label& label) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = label.background.get();
  if (label.transparent) {
    auto parent_brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(hwnd)));
    if (parent_brush != nullptr) brush = parent_brush;
  }
  FillRect(dc, &client, brush);
  HGDIOBJ old_font = SelectObject(dc, label.font ? label.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  std::wstring text = window_text(hwnd);
  if (client.bottom < 2 * metrics.tmHeight && text.find(L'\n') == std::wstring::npos) {
    DrawTextW(dc, text.c_str(), -1, &client, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  } else {
    std::wstring lines = wrap_lines(dc, text, client.right);
    DrawTextW(dc, lines.c_str(), -1, &client, DT_NOPREFIX);
  }
  SelectObject(dc, old_font);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK label_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Label* label = state_of<Label>(hwnd);
  switch (message) {
    case WM_NCCREATE:
      adopt_state<Label>(hwnd, lparam);
      break;
    case WM_NCDESTROY:
      drop_state<Label>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (label != nullptr) {
        paint(hwnd, *label);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDOWN:
      ask_root_to_drag(hwnd);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool register_label_class(HINSTANCE instance) {
  return register_control_class(instance, kClassName, label_proc);
}

HWND create_label(HWND parent, int id, int left, int top, int width, int height,
                  const wchar_t* text, HFONT font, bool transparent, COLORREF background) {
  auto label = std::make_unique<Label>();
  label->font = font;
  label->transparent = transparent;
  label->background.reset(CreateSolidBrush(background));
  return create_child_with_state(kClassName, text, 0, WS_CLIPSIBLINGS, left, top, width, height,
                                 parent, id, std::move(label));
}
