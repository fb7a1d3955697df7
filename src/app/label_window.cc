#include "app/label_window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "app/control_window.h"
#include "app/window_messages.h"
#include "win32/owned_handle.h"

namespace {

constexpr wchar_t kClassName[] = L"MoyanLabel";

struct Label {
  HFONT font = nullptr;
  LabelKind kind = LabelKind::kLabel;
  win32::Brush background;
  std::vector<int> column_edges;  // column headings only
};

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

int text_width(HDC dc, const std::wstring& text) {
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// One piece of text at its place: a heading part or a separator.
struct Piece {
  std::wstring text;
  RECT box;
};

// The column headings: part 0 from the left edge, then for each edge a "|" whose ink is
// centred on it and the next part right after it, each cut at the next separator.
std::vector<Piece> heading_pieces(HDC dc, const std::wstring& text, const std::vector<int>& edges,
                                  const RECT& client) {
  ABC bar = {};
  if (!GetCharABCWidthsW(dc, L'|', L'|', &bar))
    bar = {0, static_cast<UINT>(text_width(dc, L"|")), 0};
  const int bar_advance = bar.abcA + static_cast<int>(bar.abcB) + bar.abcC;
  const int bar_ink_middle = bar.abcA + static_cast<int>(bar.abcB) / 2;
  std::vector<Piece> pieces;
  size_t start = 0;
  for (size_t column = 0;; ++column) {
    size_t end = text.find(L'|', start);
    std::wstring part = text.substr(start, end == std::wstring::npos ? end : end - start);
    int left = 0;
    if (column > 0) {
      int bar_left = edges[column - 1] - bar_ink_middle;
      pieces.push_back({L"|", {bar_left, client.top, bar_left + bar_advance, client.bottom}});
      left = bar_left + bar_advance;
    }
    bool more = end != std::wstring::npos && column < edges.size();
    int right = more ? edges[column] - bar_ink_middle : client.right;
    pieces.push_back({part, {left, client.top, std::max(left, right), client.bottom}});
    if (!more) break;
    start = end + 1;
  }
  return pieces;
}

// Selects the label's font into a device context for as long as it lives.
class LabelDc {
 public:
  LabelDc(HDC dc, const Label& label) : dc_(dc) {
    old_font_ = SelectObject(dc, label.font ? label.font : GetStockObject(DEFAULT_GUI_FONT));
  }
  ~LabelDc() { SelectObject(dc_, old_font_); }
  LabelDc(const LabelDc&) = delete;
  LabelDc& operator=(const LabelDc&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_font_;
};

bool fits_one_line(HDC dc, const std::wstring& text, const RECT& client) {
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  return client.bottom < 2 * metrics.tmHeight && text.find(L'\n') == std::wstring::npos;
}

// Draws the label's text, or with `measure` only finds where it would go.
RECT lay_out_text(HWND hwnd, HDC dc, const Label& label, bool measure) {
  RECT client;
  GetClientRect(hwnd, &client);
  std::wstring text = window_text(hwnd);
  RECT bounds = {};
  if (text.empty()) return bounds;
  const UINT draw = measure ? DT_CALCRECT : 0;
  auto unite = [&](const RECT& r) {
    if (IsRectEmpty(&bounds)) {
      bounds = r;
    } else {
      UnionRect(&bounds, &bounds, &r);
    }
  };
  if (!label.column_edges.empty()) {
    for (Piece& piece : heading_pieces(dc, text, label.column_edges, client)) {
      size_t last = piece.text.find_last_not_of(L' ');
      if (last == std::wstring::npos) continue;  // blanks only
      RECT box = piece.box;
      DrawTextW(dc, piece.text.c_str(), static_cast<int>(last + 1), &box,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | draw);
      if (measure) {
        // DT_CALCRECT keeps the top; centre it as drawing does.
        int height = box.bottom - box.top;
        box.top = (client.bottom - height) / 2;
        box.bottom = box.top + height;
        box.right = std::min(box.right, piece.box.right);
      }
      unite(box);
    }
  } else if (fits_one_line(dc, text, client)) {
    RECT box = client;
    DrawTextW(dc, text.c_str(), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | draw);
    if (measure) {
      int height = box.bottom - box.top;
      box.top = (client.bottom - height) / 2;
      box.bottom = box.top + height;
    }
    unite(box);
  } else {
    std::wstring lines = wrap_lines(dc, text, client.right);
    RECT box = client;
    DrawTextW(dc, lines.c_str(), -1, &box, DT_NOPREFIX | draw);
    unite(box);
  }
  return bounds;
}

void paint(HWND hwnd, const Label& label) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = label.background.get();
  if (label.kind == LabelKind::kTransparent) {
    auto parent_brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(hwnd)));
    if (parent_brush != nullptr) brush = parent_brush;
  }
  FillRect(dc, &client, brush);
  {
    LabelDc font(dc, label);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    lay_out_text(hwnd, dc, label, false);
  }
  EndPaint(hwnd, &ps);
}

Handled handle(HWND hwnd, Label& label, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_PAINT:
      paint(hwnd, label);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(label.font);
    case WM_LBUTTONDOWN:
      if (label.kind == LabelKind::kTransparent) return std::nullopt;
      ask_root_to_drag(hwnd);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool register_label_class(HINSTANCE instance) {
  return register_control_class<Label, handle>(instance, kClassName);
}

HWND create_label(HWND parent, int id, const RECT& place, const wchar_t* text, HFONT font,
                  LabelKind kind, COLORREF background) {
  auto label = std::make_unique<Label>();
  label->font = font;
  label->kind = kind;
  label->background.reset(CreateSolidBrush(background));
  return create_control(kClassName, text, 0, WS_CLIPSIBLINGS, place, parent, id, std::move(label));
}

void set_label_columns(HWND label, std::vector<int> edges) {
  if (Label* state = state_of<Label>(label)) {
    std::sort(edges.begin(), edges.end());
    state->column_edges = std::move(edges);
    InvalidateRect(label, nullptr, FALSE);
  }
}

RECT label_text_bounds(HWND label) {
  RECT bounds = {};
  const Label* state = state_of<Label>(label);
  if (state == nullptr) return bounds;
  HDC dc = GetDC(label);
  {
    LabelDc font(dc, *state);
    bounds = lay_out_text(label, dc, *state, true);
  }
  ReleaseDC(label, dc);
  return bounds;
}
