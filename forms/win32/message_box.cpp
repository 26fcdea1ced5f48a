#include "forms/win32/message_box.h"

#include "forms/win32/wide_text.h"

namespace forms::win32 {

namespace {

// A CBT hook has no place for data of its own: the box being opened on this
// thread, from the call until the box is first activated.
struct PendingBox {
  const DialogRequest* request;
  HHOOK hook;
};
thread_local PendingBox* pending_box = nullptr;

LRESULT CALLBACK RenameButtons(int code, WPARAM w_param, LPARAM l_param) {
  PendingBox* pending = pending_box;
  if (code == HCBT_ACTIVATE && pending != nullptr) {
    HWND box = reinterpret_cast<HWND>(w_param);
    // The box's buttons carry the identifiers that ModalResult numbers.
    for (const auto& [label, result] : pending->request->button_labels) {
      SetDlgItemTextW(box, static_cast<int>(result), Cp1252ToWide(label).c_str());
    }
    pending_box = nullptr;
    UnhookWindowsHookEx(pending->hook);
  }
  return CallNextHookEx(nullptr, code, w_param, l_param);
}

}  // namespace

ModalResult ShowMessageBox(HWND owner, const DialogRequest& request) {
  const bool yes_no = request.buttons == MsgDlgButtons::YesNo;
  UINT type = yes_no ? MB_YESNO : MB_OK;
  type |= request.kind == MsgDlgType::Error ? MB_ICONERROR : MB_ICONINFORMATION;
  type |= owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;

  PendingBox pending{&request, nullptr};
  PendingBox* outer = pending_box;  // a box opened from inside another box's loop
  pending.hook = SetWindowsHookExW(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId());
  pending_box = &pending;
  const int answer = MessageBoxW(owner, Cp1252ToWide(request.text).c_str(),
                                 Cp1252ToWide(request.caption).c_str(), type);
  if (pending_box == &pending) UnhookWindowsHookEx(pending.hook);  // never activated
  pending_box = outer;

  if (yes_no) return answer == IDYES ? ModalResult::Yes : ModalResult::No;
  return ModalResult::Ok;
}

}  // namespace forms::win32
