#ifndef MOYAN_UI_CONTROL_VALUES_H_
#define MOYAN_UI_CONTROL_VALUES_H_

#include <string>

#include "ui/controls.h"

// What handlers read and change of the controls: texts, check states, combo choices, the
// current page and the hidden menus. Texts are GBK. Texts and checks may be read and
// written from worker threads (carried out by the window's thread, like the result list).
class ControlValues {
 public:
  // Texts of edit boxes, labels, check boxes and buttons.
  virtual std::string control_text(Control control) = 0;
  virtual void set_control_text(Control control, const std::string& text) = 0;
  // Shows a text in MainWindow's caption for a while; then the window's own title comes
  // back. Setting the caption again meanwhile keeps the new text (a passing one starts its
  // while afresh).
  virtual void show_passing_caption(const std::string& text) = 0;
  virtual bool is_checked(Control control) = 0;
  virtual void set_checked(Control control, bool checked) = 0;
  // Shows or hides a control (the import's progress takes the reserved area's caption's
  // place while it is shown).
  virtual void set_control_visible(Control control, bool visible) = 0;
  // The text of a combo box's chosen item; empty when none is chosen.
  virtual std::string chosen_item_text(Control combo) = 0;
  // Opens a combo box's list (CB_SHOWDROPDOWN with 1).
  virtual void drop_down_list(Control combo) = 0;

  // Current page of 选择夹1, 0 to kPageCount - 1.
  virtual int current_page() = 0;
  virtual void set_current_page(int page) = 0;

  // `pop_up_menu`: shows a hidden menu at the mouse position (3 pixels right and down);
  // a chosen item raises its event before this returns.
  virtual void pop_up_menu(PopupMenu menu) = 0;

 protected:
  ~ControlValues() = default;
};

#endif  // MOYAN_UI_CONTROL_VALUES_H_
