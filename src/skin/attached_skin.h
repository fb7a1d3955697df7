#ifndef MOYAN_SKIN_ATTACHED_SKIN_H_
#define MOYAN_SKIN_ATTACHED_SKIN_H_

#include <windows.h>

#include <array>

#include "skin/skin_data.h"
#include "win32/owned_handle.h"

// A skin as the library paints with it: every colour settled (a role the skin leaves out
// takes the system's colour for that part), with its brushes and caption font made once.
// Made on the attaching thread and never changed afterwards, so any thread may paint with
// it without a lock.
class AttachedSkin {
 public:
  explicit AttachedSkin(const SkinData& data);
  AttachedSkin(const AttachedSkin&) = delete;
  AttachedSkin& operator=(const AttachedSkin&) = delete;

  COLORREF operator[](SkinColour role) const { return colours_[static_cast<size_t>(role)]; }
  HBRUSH brush(SkinColour role) const { return brushes_[static_cast<size_t>(role)].get(); }
  // The skin's caption font, or the system's caption font.
  HFONT caption_font() const { return caption_font_.get(); }
  // The system's menu font, which the skin's menus are written in.
  HFONT menu_font() const { return menu_font_.get(); }
  // The skin data it was made from.
  const SkinData& data() const { return data_; }

 private:
  SkinData data_;
  std::array<COLORREF, kSkinColourSlots> colours_{};
  std::array<win32::Brush, kSkinColourSlots> brushes_;
  win32::Font caption_font_;
  win32::Font menu_font_;
};

// The skin that windows are painted with now; null before the first skin is attached.
const AttachedSkin* current_skin();
// Makes `skin` the current one. Skins are kept for the life of the process: a window of
// another thread may be painting with the one replaced.
void publish_skin(const AttachedSkin* skin);

#endif  // MOYAN_SKIN_ATTACHED_SKIN_H_
