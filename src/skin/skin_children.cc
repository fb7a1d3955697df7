// What a skinned window answers for its children: the colours they ask their parent for,
// and the drawing of list rows, which a list leaves to its parent.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "skin/skin_contrast.h"
#include "skin/skinned_window.h"

namespace {

bool is_class(HWND hwnd, const wchar_t* name) {
  wchar_t found[32] = {};
  return GetClassNameW(hwnd, found, 32) != 0 && _wcsicmp(found, name) == 0;
}

LRESULT colours(WPARAM dc, const AttachedSkin& skin, SkinColour text, SkinColour background) {
  auto hdc = reinterpret_cast<HDC>(dc);
  SetTextColor(hdc, skin[text]);
  SetBkColor(hdc, skin[background]);
  return reinterpret_cast<LRESULT>(skin.brush(background));
}

// The list's own answer stands when it asked for something; otherwise the chosen row is
// drawn in the skin's selection colours.
LRESULT list_custom_draw(HWND parent, const AttachedSkin& skin, WPARAM wparam, LPARAM lparam) {
  LRESULT own = pass_on(parent, WM_NOTIFY, wparam, lparam);
  if (own != CDRF_DODEFAULT) return own;
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lparam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto item = static_cast<int>(draw->nmcd.dwItemSpec);
      const UINT state = static_cast<UINT>(
          SendMessageW(draw->nmcd.hdr.hwndFrom, LVM_GETITEMSTATE, item, LVIS_SELECTED));
      if (state & LVIS_SELECTED) {
        draw->clrText = skin[SkinColour::kSelectionText];
        draw->clrTextBk = skin[SkinColour::kSelectionBackground];
        // Without the mark the list uses the colours given here, not the system's.
        draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
      }
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace

Answer children_message(HWND hwnd, SkinnedWindow& state, const AttachedSkin& skin, UINT message,
                        WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLOREDIT: {
      // An edit box is a well in the window around it. Where the skin's field is of the
      // other lightness (a dark skin's dark field in a white page would be a hole in it),
      // the window's own colours stand.
      const ParentColours around = parent_colours(reinterpret_cast<HWND>(lparam),
                                                  reinterpret_cast<HDC>(wparam), WM_CTLCOLORSTATIC);
      if (is_light(rgb_of(skin[SkinColour::kEditBackground])) !=
          is_light(rgb_of(around.background))) {
        return std::nullopt;
      }
      return colours(wparam, skin, SkinColour::kEditText, SkinColour::kEditBackground);
    }
    case WM_CTLCOLORLISTBOX:  // also the list of a drop-down list, passed on by the box
      return colours(wparam, skin, SkinColour::kComboText, SkinColour::kComboFace);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Only a dialog's background is the skin's; any other window keeps its own, which
      // its children sit on.
      if (state.kind != SkinnedKind::kDialog) return std::nullopt;
      return colours(wparam, skin, SkinColour::kWindowText, SkinColour::kWindowBackground);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header == nullptr || header->code != NM_CUSTOMDRAW) return std::nullopt;
      if (!is_class(header->hwndFrom, WC_LISTVIEWW)) return std::nullopt;
      return list_custom_draw(hwnd, skin, wparam, lparam);
    }
    case WM_COMMAND: {
      // A drop-down list that opened, closed or changed shows its field anew.
      const auto child = reinterpret_cast<HWND>(lparam);
      const WORD code = HIWORD(wparam);
      if (child == nullptr ||
          (code != CBN_DROPDOWN && code != CBN_CLOSEUP && code != CBN_SELCHANGE &&
           code != CBN_SETFOCUS && code != CBN_KILLFOCUS)) {
        return std::nullopt;
      }
      LRESULT own = pass_on(hwnd, message, wparam, lparam);
      if (is_class(child, WC_COMBOBOXW)) InvalidateRect(child, nullptr, FALSE);
      return own;
    }
    default:
      return std::nullopt;
  }
}
