#ifndef MOYAN_UI_DIALOGS_H_
#define MOYAN_UI_DIALOGS_H_

#include <string>

// Message-box flags (the Windows MB_ values) and answers (the Windows button id minus one).
constexpr unsigned kBoxOk = 0x0;
constexpr unsigned kBoxYesNo = 0x4;
constexpr unsigned kBoxIconQuestion = 0x20;
constexpr unsigned kBoxIconWarning = 0x30;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxSystemModal = 0x1000;
constexpr int kAnswerOk = 0;
constexpr int kAnswerCancel = 1;
constexpr int kAnswerYes = 5;
constexpr int kAnswerNo = 6;

// The caption of a box that is given none.
inline constexpr char kDefaultBoxCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // "信息："

// A path the user chose, in both forms the local disks know it by: `text` as the program
// shows and stores it (GBK, a character GBK can't hold written as "?") and `native` as
// the system reaches it (the disks' own form), so a file whose name GBK can't spell is
// still read. Both empty when the user cancelled.
struct ChosenPath {
  std::string text;
  std::string native;
};

// The questions a handler puts to the user and what it asks of the shell. Texts are GBK.
// message_box, open_url and start_process run on the calling thread, any thread; the file
// and folder dialogs are shown by the window's thread.
class Dialogs {
 public:
  // The one message box: no owner, task-modal unless kBoxSystemModal is given; an empty
  // caption shows kDefaultBoxCaption. Returns the button id minus one.
  virtual int message_box(const std::string& text, unsigned flags,
                          const std::string& caption = std::string()) = 0;
  // The open-file dialog 通用对话框1 with a filter such as "Name（*.e）|*.e"; the full path
  // chosen, or empty when cancelled. It leaves the current directory on the file's folder.
  virtual ChosenPath choose_open_file(const std::string& filter) = 0;
  // The folder browser with an edit box; the folder's path, or empty when cancelled.
  virtual ChosenPath choose_folder(const std::string& title) = 0;

  // `open_url`: asks the shell to open an address in the user's browser; the outcome is
  // not checked.
  virtual void open_url(const std::string& address) = 0;
  // Starts a process with a command line in the normal window state and waits at most
  // wait_ms until it is ready for input. False when it could not be started.
  virtual bool start_process(const std::string& command_line, int wait_ms) = 0;

 protected:
  ~Dialogs() = default;
};

#endif  // MOYAN_UI_DIALOGS_H_
