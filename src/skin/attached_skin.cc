#include "skin/attached_skin.h"

#include <atomic>

namespace {

// The system colour that paints each part when a skin gives none.
int system_colour_for(SkinColour role) {
  switch (role) {
    case SkinColour::kWindowBackground:
      return COLOR_BTNFACE;
    case SkinColour::kWindowText:
      return COLOR_WINDOWTEXT;
    case SkinColour::kFrame:
      return COLOR_ACTIVEBORDER;
    case SkinColour::kFrameEdge:
      return COLOR_WINDOWFRAME;
    case SkinColour::kCaptionTop:
      return COLOR_ACTIVECAPTION;
    case SkinColour::kCaptionBottom:
      return COLOR_GRADIENTACTIVECAPTION;
    case SkinColour::kCaptionText:
      return COLOR_CAPTIONTEXT;
    case SkinColour::kInactiveCaptionTop:
      return COLOR_INACTIVECAPTION;
    case SkinColour::kInactiveCaptionBottom:
      return COLOR_GRADIENTINACTIVECAPTION;
    case SkinColour::kInactiveCaptionText:
      return COLOR_INACTIVECAPTIONTEXT;
    case SkinColour::kCaptionButtonFace:
      return COLOR_BTNFACE;
    case SkinColour::kCaptionButtonHot:
      return COLOR_3DLIGHT;
    case SkinColour::kCaptionButtonPressed:
      return COLOR_BTNSHADOW;
    case SkinColour::kCaptionButtonGlyph:
      return COLOR_BTNTEXT;
    case SkinColour::kEditBackground:
      return COLOR_WINDOW;
    case SkinColour::kEditText:
      return COLOR_WINDOWTEXT;
    case SkinColour::kEditBorder:
      return COLOR_BTNSHADOW;
    case SkinColour::kEditBorderFocus:
      return COLOR_HIGHLIGHT;
    case SkinColour::kButtonFace:
      return COLOR_BTNFACE;
    case SkinColour::kButtonFaceHot:
      return COLOR_3DLIGHT;
    case SkinColour::kButtonFacePressed:
      return COLOR_BTNSHADOW;
    case SkinColour::kButtonBorder:
      return COLOR_3DDKSHADOW;
    case SkinColour::kButtonText:
      return COLOR_BTNTEXT;
    case SkinColour::kCheckFace:
      return COLOR_WINDOW;
    case SkinColour::kCheckBorder:
      return COLOR_BTNSHADOW;
    case SkinColour::kCheckBorderHot:
      return COLOR_HIGHLIGHT;
    case SkinColour::kCheckMark:
      return COLOR_WINDOWTEXT;
    case SkinColour::kCheckText:
      return COLOR_BTNTEXT;
    case SkinColour::kGroupFrame:
      return COLOR_BTNSHADOW;
    case SkinColour::kGroupText:
      return COLOR_BTNTEXT;
    case SkinColour::kComboFace:
      return COLOR_WINDOW;
    case SkinColour::kComboText:
      return COLOR_WINDOWTEXT;
    case SkinColour::kComboBorder:
      return COLOR_BTNSHADOW;
    case SkinColour::kComboButtonFace:
      return COLOR_BTNFACE;
    case SkinColour::kComboArrow:
      return COLOR_BTNTEXT;
    case SkinColour::kSelectionBackground:
      return COLOR_HIGHLIGHT;
    case SkinColour::kSelectionText:
      return COLOR_HIGHLIGHTTEXT;
    case SkinColour::kHeaderFace:
      return COLOR_BTNFACE;
    case SkinColour::kHeaderText:
      return COLOR_BTNTEXT;
    case SkinColour::kHeaderDivider:
      return COLOR_BTNSHADOW;
    case SkinColour::kDisabledText:
      return COLOR_GRAYTEXT;
  }
  return COLOR_WINDOW;
}

// One of the system's fonts for the parts of a window outside its client area, or the
// default GUI font when the system can't say.
LOGFONTW system_font(LOGFONTW NONCLIENTMETRICSW::*which) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font = {};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.*which;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  return font;
}

HFONT make_caption_font(const SkinData& data) {
  LOGFONTW font = system_font(&NONCLIENTMETRICSW::lfCaptionFont);
  if (const auto& skin_font = data.caption_font) {
    font.lfHeight = -skin_font->height;
    font.lfWidth = 0;
    font.lfWeight = skin_font->weight;
    font.lfCharSet = DEFAULT_CHARSET;
    size_t n = 0;
    for (; n < skin_font->face.size() && n + 1 < LF_FACESIZE; ++n) {
      font.lfFaceName[n] = static_cast<wchar_t>(skin_font->face[n]);
    }
    font.lfFaceName[n] = L'\0';
  }
  return CreateFontIndirectW(&font);
}

std::atomic<const AttachedSkin*> current{nullptr};

}  // namespace

AttachedSkin::AttachedSkin(const SkinData& data)
    : data_(data), caption_font_(make_caption_font(data)), menu_font_([] {
        const LOGFONTW font = system_font(&NONCLIENTMETRICSW::lfMenuFont);
        return CreateFontIndirectW(&font);
      }()) {
  for (int role = 1; role <= kSkinColourLast; ++role) {
    const auto which = static_cast<SkinColour>(role);
    const std::optional<SkinRgb>& rgb = data.colour(which);
    const COLORREF colour =
        rgb ? RGB(rgb->r, rgb->g, rgb->b) : GetSysColor(system_colour_for(which));
    colours_[static_cast<size_t>(role)] = colour;
    brushes_[static_cast<size_t>(role)].reset(CreateSolidBrush(colour));
  }
}

const AttachedSkin* current_skin() {
  return current.load(std::memory_order_acquire);
}

void publish_skin(const AttachedSkin* skin) {
  current.store(skin, std::memory_order_release);
}
