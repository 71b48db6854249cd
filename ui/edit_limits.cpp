#include "ui/edit_limits.h"

#include "platform/win32/wide.h"

namespace zk::ui {

void setBoxLimit(HWND edit, bool digitsOnly) {
  if (!edit) return;
  LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE);
  style = digitsOnly ? (style | ES_NUMBER) : (style & ~static_cast<LONG_PTR>(ES_NUMBER));
  SetWindowLongPtrW(edit, GWL_STYLE, style);
  SendMessageW(edit, EM_LIMITTEXT, digitsOnly ? 11 : 20, 0);
}

void setTextAtEnd(HWND edit, const std::string& utf8) {
  if (!edit) return;
  SetWindowTextW(edit, win::widen(utf8).c_str());
  int length = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, length, length);
}

}  // namespace zk::ui
