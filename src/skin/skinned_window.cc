#include "skin/skinned_window.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "skin/skin_contrast.h"

namespace {

// The skin's subclass id on every window it takes, and the property that marks such a
// window (so a window is taken once, however often it is met).
constexpr UINT_PTR kSubclassId = 0x534B494E;  // "SKIN"
constexpr wchar_t kTakenMark[] = L"SkinH_EL.taken";

struct ClassKind {
  const wchar_t* name;
  SkinnedKind kind;
};
constexpr ClassKind kKnownClasses[] = {
    {L"#32770", SkinnedKind::kDialog},
    {L"Button", SkinnedKind::kButton},
    {L"Edit", SkinnedKind::kEdit},
    {L"ComboBox", SkinnedKind::kComboBox},
    {L"SysListView32", SkinnedKind::kListView},
    {L"SysHeader32", SkinnedKind::kHeader},
    {L"#32768", SkinnedKind::kMenu},
};
// Windows whose look belongs to the system or to the input method, not to the program.
constexpr const wchar_t* kLeftAlone[] = {
    L"#32769",      L"#32771",           L"#32772",    L"IME",
    L"MSCTFIME UI", L"tooltips_class32", L"ComboLBox", L"ScrollBar",
};

std::optional<SkinnedKind> kind_of(HWND hwnd) {
  wchar_t name[64] = {};
  if (GetClassNameW(hwnd, name, 64) == 0) return std::nullopt;
  for (const wchar_t* alone : kLeftAlone) {
    if (_wcsicmp(name, alone) == 0) return std::nullopt;
  }
  for (const ClassKind& known : kKnownClasses) {
    if (_wcsicmp(name, known.name) == 0) return known.kind;
  }
  return SkinnedKind::kPlain;
}

LRESULT CALLBACK skinned_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                              UINT_PTR /*id*/, DWORD_PTR data) {
  auto* state = reinterpret_cast<SkinnedWindow*>(data);
  if (message == WM_NCDESTROY) {
    give_back_menus(*state);
    RemoveWindowSubclass(hwnd, skinned_proc, kSubclassId);
    RemovePropW(hwnd, kTakenMark);
    delete state;
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  const AttachedSkin* skin = current_skin();
  if (skin == nullptr) return DefSubclassProc(hwnd, message, wparam, lparam);

  if (state->kind == SkinnedKind::kMenu) {
    if (Answer a = menu_window_message(hwnd, *state, *skin, message, wparam, lparam)) return *a;
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  if (Answer a = menu_owner_message(hwnd, *state, *skin, message, wparam, lparam)) return *a;
  if (Answer a = children_message(hwnd, *state, *skin, message, wparam, lparam)) return *a;
  if (Answer a = frame_message(hwnd, *state, *skin, message, wparam, lparam)) return *a;
  Answer own;
  switch (state->kind) {
    case SkinnedKind::kButton:
      own = button_message(hwnd, *state, *skin, message, wparam, lparam);
      break;
    case SkinnedKind::kEdit:
    case SkinnedKind::kListView:
      own = border_message(hwnd, *state, *skin, message, wparam, lparam);
      break;
    case SkinnedKind::kComboBox:
      own = combo_message(hwnd, *state, *skin, message, wparam, lparam);
      break;
    case SkinnedKind::kHeader:
      own = header_message(hwnd, *state, *skin, message, wparam, lparam);
      break;
    case SkinnedKind::kPlain:
    case SkinnedKind::kDialog:
    case SkinnedKind::kMenu:
      break;
  }
  if (own) return *own;
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

BOOL CALLBACK skin_child(HWND hwnd, LPARAM) {
  skin_window(hwnd);
  return TRUE;
}

BOOL CALLBACK skin_top_level(HWND hwnd, LPARAM) {
  skin_window(hwnd);
  EnumChildWindows(hwnd, skin_child, 0);
  return TRUE;
}

BOOL CALLBACK repaint_top_level(HWND hwnd, LPARAM) {
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

BOOL CALLBACK mark_other_thread_window(HWND hwnd, LPARAM) {
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId() && thread != GetCurrentThreadId() &&
      GetPropW(hwnd, kTakenMark) != nullptr) {
    // Without RDW_UPDATENOW: the painting is left to the window's own thread.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return TRUE;
}

}  // namespace

LRESULT pass_on(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

void skin_window(HWND hwnd) {
  if (GetPropW(hwnd, kTakenMark) != nullptr) return;
  std::optional<SkinnedKind> kind = kind_of(hwnd);
  if (!kind) return;
  auto* state = new SkinnedWindow();
  state->kind = *kind;
  state->active = GetActiveWindow() == hwnd;
  if (!SetPropW(hwnd, kTakenMark, state)) {
    delete state;
    return;
  }
  if (!SetWindowSubclass(hwnd, skinned_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(state))) {
    RemovePropW(hwnd, kTakenMark);
    delete state;
  }
}

void skin_thread_windows() {
  EnumThreadWindows(GetCurrentThreadId(), skin_top_level, 0);
}

void repaint_thread_windows() {
  EnumThreadWindows(GetCurrentThreadId(), repaint_top_level, 0);
}

void repaint_other_threads_windows() {
  EnumWindows(mark_other_thread_window, 0);
}

ParentColours parent_colours(HWND hwnd, HDC dc, UINT message) {
  HWND parent = GetParent(hwnd);
  if (parent == nullptr) parent = hwnd;
  // The parent may set the text colour too; what is drawn here picks its own.
  const COLORREF old_text = GetTextColor(dc);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  SetTextColor(dc, old_text);
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
  ParentColours colours = {brush, RGB(255, 255, 255)};
  LOGBRUSH described = {};
  if (GetObjectW(brush, sizeof(described), &described) == sizeof(described) &&
      described.lbStyle == BS_SOLID) {
    colours.background = described.lbColor;
  }
  return colours;
}

COLORREF legible_text(COLORREF wanted, const ParentColours& colours) {
  const SkinRgb shown = legible_on(rgb_of(wanted), rgb_of(colours.background));
  return RGB(shown.r, shown.g, shown.b);
}
