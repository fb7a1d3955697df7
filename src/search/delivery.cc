#include "search/delivery.h"

#include <system_error>
#include <thread>

#include "library/file_names.h"
#include "search/download_link.h"
#include "search/open_library.h"
#include "store/attachment.h"
#include "store/source_record.h"
#include "store/store.h"
#include "text/text.h"
#include "ui/dialogs.h"

namespace {

constexpr unsigned kQuestionFlags = kBoxYesNo | kBoxIconQuestion;  // 0x24
constexpr unsigned kNoticeFlags = kBoxIconInformation;             // 0x40

constexpr char kAskDownload[] =
    "\xCA\xC7\xB7\xF1\xC8\xB7\xC8\xCF\xCF\xC2\xD4\xD8";             // "是否确认下载"
constexpr char kAskDownloadCaption[] = "\xCF\xC2\xD4\xD8\xA3\xBF";  // "下载？"
// "下载已完成,确定是否要打开？" (the comma is an ASCII comma)
constexpr char kAskOpen[] =
    "\xCF\xC2\xD4\xD8\xD2\xD1\xCD\xEA\xB3\xC9,\xC8\xB7\xB6\xA8\xCA\xC7\xB7\xF1\xD2\xAA\xB4\xF2\xBF"
    "\xAA\xA3\xBF";
constexpr char kAskOpenCaption[] = "\xB4\xF2\xBF\xAA\xA3\xBF";  // "打开？"

constexpr char kPackageExtension[] = ".rar";
constexpr char kSourceExtension[] = ".e";
// Explorer shows the written file selected; the name goes unquoted, as Explorer reads it.
constexpr char kExplorerCommand[] = "Explorer /select, ";
constexpr int kExplorerWaitMs = 1000;

// Rows harvested from the source site (and entries stored by them) carry the detail
// page's full address; entries made from local files carry a path.
constexpr char kWebAddressPrefix[] = "http://";

void notify(Dialogs& dialogs, const char* text) {
  dialogs.message_box(text, kNoticeFlags, kNoticeCaption);
}

// Writes the file into the program folder and shows it selected in Explorer. A failed
// write is not reported and Explorer still shows the folder; a title that can't name a
// plain file in the program folder (a path, a device, a name too long) writes nothing
// anywhere and starts nothing.
void write_and_show(WindowPort& window, ProgramFolder& folder, const std::string& name,
                    const ByteSet& bytes) {
  if (!folder.takes_file_name(name)) {
    notify(window, kTitleNotAFileNameText);
    return;
  }
  folder.write_file(name, bytes);
  window.start_process(kExplorerCommand + folder.file_path(name), kExplorerWaitMs);
}

}  // namespace

void open_selected_entry(WindowPort& window, const WebServices& services) {
  const int row = window.selected_row();
  try {
    std::thread([&window, services, row] { deliver_entry(window, services, row); }).detach();
  } catch (const std::system_error&) {
    // A worker that can't be started delivers nothing; the window goes on.
  }
  window.redraw_list();
}

void deliver_entry(WindowPort& window, const WebServices& services, int row) {
  // Both at once: the list may change while the questions are open, and the address must
  // be the one of this entry's row.
  const std::string title = window.cell_text(row, 1);
  if (title.empty()) return;
  const std::string address = window.cell_text(row, 5);

  OpenLibrary library(services.folder->library_path());
  if (!library.open()) {
    notify(window, kLibraryUnavailableText);
    return;
  }
  // The library holds titles cut to 标题's width; the look-up compares what it holds.
  go_first();
  if (!find_text_checked(kFieldTitle, title).found) {
    // Without its entry nothing may be read or written in its place.
    notify(window, kEntryNotHeldText);
    return;
  }

  const ByteSet attachment = read_field(kFieldAttachment).bytes();
  if (!attachment.empty()) {
    // Delivered before, or made from a local file: written at once, without the network.
    if (left_text(address, 7) == kWebAddressPrefix) {
      write_and_show(window, *services.folder, title + kPackageExtension, attachment);
    } else {
      write_and_show(window, *services.folder, title + kSourceExtension,
                     unpack_attachment(attachment));
    }
    return;
  }

  if (window.message_box(kAskDownload + title, kQuestionFlags, kAskDownloadCaption) != kAnswerYes) {
    return;
  }
  const std::string& base = services.sites.source_site_base_url;
  const std::optional<std::string> package_at =
      package_address(base, find_download_link(*services.fetcher, base, address));
  // An error page comes back empty: whatever isn't a package is never kept as one, nor
  // written as a file.
  const ByteSet package = package_at ? services.fetcher->fetch(*package_at) : ByteSet();
  if (package.empty()) {
    notify(window, kDownloadFailedText);
    return;
  }
  write_field(kFieldAttachment, package);
  if (window.message_box(title + kAskOpen, kQuestionFlags, kAskOpenCaption) != kAnswerYes) {
    return;  // the package stays in the entry; no file is written
  }
  write_and_show(window, *services.folder, title + kPackageExtension, package);
}
