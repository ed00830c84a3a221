#include "app/main_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "accounts/account_commands.h"
#include "accounts/account_services.h"
#include "accounts/settings_file.h"
#include "base/core/notice_caption.h"
#include "base/browser_integration.h"
#include "base/program_state.h"
#include "base/core/dpi_scale.h"
#include "base/window_dpi.h"
#include "app/core/main_layout.h"
#include "app/logo.h"
#include "app/shell_handover.h"
#include "app/single_instance.h"
#include "res/main_window_ids.h"
#include "base/module.h"
#include "base/prompt.h"
#include "base/work_directories.h"
#include "controls/control_text.h"
#include "controls/reflection.h"
#include "imaging/add_photos.h"
#include "upload/upload_command.h"
#include "upload/upload_worker.h"

namespace fernwick {

namespace {
struct ToolbarEntry {
  int id;
  int face;  // 0: the face follows EnableSelectionButtons
  const wchar_t* tooltip;
};
constexpr ToolbarEntry kToolbar[] = {
    {ids::kAddButton, ids::kAddFace, L"加入图片"},
    {ids::kDeleteButton, 0, L"移除选中的图片"},
    {ids::kRotateLeftButton, 0, L"反时针旋转选中的图片"},
    {ids::kRotateRightButton, 0, L"顺时针旋转选中的图片"},
    {ids::kSettingsButton, ids::kSettingsFace, L"切换用户、添加用户以及图片尺寸限制"},
};

struct SelectionFaces {
  int id;
  int enabled;
  int disabled;
};
constexpr SelectionFaces kSelectionButtons[] = {
    {ids::kDeleteButton, ids::kDeleteFace, ids::kDeleteFaceDisabled},
    {ids::kRotateLeftButton, ids::kRotateLeftFace, ids::kRotateLeftFaceDisabled},
    {ids::kRotateRightButton, ids::kRotateRightFace, ids::kRotateRightFaceDisabled},
};
}  // namespace

MainDialog::MainDialog(PhotoPreparer::PrepareFunction prepare)
    : preparer_(photos_, std::move(prepare)), session_(*this, UploadWorkerFor(*this)) {}

MainDialog::~MainDialog() {
  // The window (if a test left it open) goes before the members its handlers use.
  if (HWND window = hwnd()) ::DestroyWindow(window);
}

INT_PTR MainDialog::Run(HWND owner, bool offerUnfinishedBatch) {
  modal_ = true;
  offerUnfinishedBatch_ = offerUnfinishedBatch;
  return RunModal(ids::kMainDialog, owner);
}

HWND MainDialog::Create(HWND parent) {
  modal_ = false;
  return CreateModeless(ids::kMainDialog, parent);
}

const ImageButton& MainDialog::toolbarButton(int id) const {
  return toolbar_.at(static_cast<size_t>(id - ids::kAddButton));
}

ImageButton& MainDialog::Button(int id) { return toolbar_.at(static_cast<size_t>(id - ids::kAddButton)); }

unsigned MainDialog::PhotoCount() const { return photos_.Count(); }

std::optional<LRESULT> MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (UiTaskChannel::Run(message, wParam, lParam)) return 0;
  if (message == TaskbarButton::CreatedMessage()) {
    taskbar_.Attach(hwnd());
    return 0;
  }
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_SIZE:
      return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_DESTROY:
      return OnDestroy();
    case WM_ENDSESSION:
      return OnEndSession(wParam != FALSE);
    case WM_PAINT:
      return OnPaint();
    case WM_CLOSE:
      return OnClose();
    case WM_MOUSEWHEEL:
      return OnMouseWheel(wParam, lParam);
    case WM_SHOWWINDOW:
      // A modal dialog is first shown once its queue is empty: the question comes after that.
      if (wParam && std::exchange(offerUnfinishedBatch_, false)) uiTasks_->Post([this] { OfferUnfinishedBatch(); });
      break;
    case WM_TIMER:
      if (wParam == kAddingLineTimer) {
        ShowAddingLine();
      } else if (wParam == kStillTimer) {
        taskbar_.ShowPausedIfStill();
      } else {
        break;
      }
      return 0;
    case WM_COPYDATA:
      return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_DPICHANGED:
      return OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_COMMAND:
      // The ids decide, not the notification code. IDOK and IDCANCEL (Enter, Escape) are
      // not bound: the window closes only through WM_CLOSE.
      if (auto handled = OnCommand(LOWORD(wParam))) return handled;
      break;
    default:
      break;
  }
  return ReflectNotification(hwnd(), message, wParam, lParam);
}

std::optional<LRESULT> MainDialog::OnCommand(int id) {
  switch (id) {
    case ids::kAddButton:
      OnAdd();
      return 0;
    case ids::kDeleteButton:
      view_.RemoveSelected();
      return 0;
    case ids::kRotateLeftButton:
      view_.RotateSelected(false);
      return 0;
    case ids::kRotateRightButton:
      view_.RotateSelected(true);
      return 0;
    case ids::kSettingsButton:
      RunSettingsDialog();
      return 0;
    case ids::kUploadButton:
      OnUpload();
      return 0;
    case ids::kOkButton:
      OnOk();
      return 0;
    case ids::kAddingStop:
      walk_.Stop();
      preparer_.Stop();
      ShowAddingLine();
      return 0;
    case ids::kBackButton:
      EnterState(WindowState::kPhotoList);
      return 0;
    default:
      return std::nullopt;
  }
}

LRESULT MainDialog::OnInitDialog() {
  MarkMainWindow(hwnd());
  uiTasks_ = UiTaskChannel::Open(hwnd());
  dpi_ = WindowDpi(hwnd());
  HWND owner = ::GetWindow(hwnd(), GW_OWNER);
  CenterWindowOver(hwnd(), (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ? owner : nullptr);
  SetWindowIcons();
  CreateWorkDirectories();
  RegisterBrowserMenuEntries();
  SetUpToolbar();
  EnableSelectionButtons(false);
  CreateView();
  preparer_.Attach(uiTasks_, this, hwnd());
  walk_.Attach(uiTasks_, [this](std::vector<std::wstring> pictures) { AddWalkedPictures(std::move(pictures)); });
  logo_ = LoadLogo(LogoPath());
  SetUpPhotoSiteLink();
  CreatePages();
  LoadSettings();
  history_.Load();
  // With a saved account: both status texts are set and the start-up sign-in runs.
  startupSignIn_.Start(*this, ProductionAccountServices());
  RefreshAccountDisplay();
  // The template places the children for its own size; from the start they sit where every
  // later resize puts them.
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ApplyLayout(client.right, client.bottom);
  if (!handedPaths_.empty()) uiTasks_->Post([this] { AddHandedPaths(); });
  return TRUE;
}

void MainDialog::SetWindowIcons() {
  auto load = [](int width, int height) {
    return static_cast<HICON>(
        ::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(ids::kWindowIcon), IMAGE_ICON, width, height, 0));
  };
  // Icons from LoadImageW without LR_SHARED live until the process ends; they are not shared
  // with anything else and the window keeps using them to its end.
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON))));
}

void MainDialog::SetUpToolbar() {
  for (const ToolbarEntry& entry : kToolbar) {
    if (entry.face) Button(entry.id).LoadFace(entry.face, dpi_);
  }
  for (const SelectionFaces& entry : kSelectionButtons) Button(entry.id).AttachTo(Item(entry.id));
  for (const ToolbarEntry& entry : kToolbar) Button(entry.id).SetTooltip(entry.tooltip);
}

void MainDialog::LoadDpiPictures() {
  for (const ToolbarEntry& entry : kToolbar) {
    if (entry.face) Button(entry.id).LoadFace(entry.face, dpi_);
  }
  for (const SelectionFaces& entry : kSelectionButtons) {
    Button(entry.id).LoadFace(selectionButtonsEnabled_ ? entry.enabled : entry.disabled, dpi_);
  }
  photoSiteLink_.LoadBitmapResource(BitmapIdForDpi(ids::kPhotoSiteBadge, dpi_));
}

void MainDialog::CreateView() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const LayoutRect place = ComputeMainLayout(client.right, client.bottom, dpi_).view;
  const RECT rect{place.x, place.y, place.x + place.width, place.y + place.height};
  view_.SetDpi(dpi_);
  photos_.SetThumbnailBox(ScaleForDpi(kThumbnailBox, dpi_));
  view_.Create(hwnd(), rect, WS_CHILD | WS_VISIBLE);
  photos_.SetObserver(this);
  view_.CreateTooltip();
  ::DragAcceptFiles(view_.hwnd(), TRUE);
  view_.SetDropHandler([this](HDROP drop) { OnDrop(drop); });
}

void MainDialog::CreatePages() {
  settingsPage_.Create(hwnd());
  progressPage_.Create(hwnd());
  donePage_ = std::make_unique<DonePage>();
  donePage_->Create(hwnd());
  progressPage_.SetSession(&session_);
  donePage_->SetOwner(this);
}

void MainDialog::RefreshAccountDisplay() {
  // Another account, or none: the marks of photos sent before are that account's.
  if (MarkSentPhotos() && view_.hwnd()) ::InvalidateRect(view_.hwnd(), nullptr, FALSE);
  if (!ShowLineText(ids::kQuotaLine, accounts_.quotaText()) ||
      !ShowLineText(ids::kCurrentUserLine, accounts_.currentUserText())) {
    return;
  }
  for (int id : {ids::kAddButton, ids::kSettingsButton}) {
    if (!Button(id).attached()) Button(id).AttachTo(Item(id));
  }
  AttachPhotoSiteLinkIfNeeded();
}

void MainDialog::ShowQuotaLine() {
  // The same text set again repaints the line for nothing, and most of a batch's photos leave
  // the percentage where it was.
  if (WindowText(Item(ids::kQuotaLine)) != accounts_.quotaText()) ShowLineText(ids::kQuotaLine, accounts_.quotaText());
}

bool MainDialog::ShowLineText(int id, const std::wstring& text) {
  if (::SetDlgItemTextW(hwnd(), id, text.c_str())) return true;
  ::MessageBeep(0xFFFFFFFF);
  ::SetFocus(Item(id));
  return false;
}

void MainDialog::EnableSelectionButtons(bool enable) {
  if (enable == selectionButtonsEnabled_) return;
  selectionButtonsEnabled_ = enable;
  for (const SelectionFaces& entry : kSelectionButtons) {
    HWND window = Item(entry.id);
    ::EnableWindow(window, enable);
    Button(entry.id).LoadFace(enable ? entry.enabled : entry.disabled, dpi_);
    ::InvalidateRect(window, nullptr, TRUE);
  }
  ::SetFocus(hwnd());
}

// Both kinds of add queue behind one still running. The size limit is the one in force when the
// photos are chosen: a limit changed in the settings dialog meanwhile applies to later adds.
void MainDialog::OnAdd() {
  if (const std::optional<ChosenFiles> chosen = ChooseFilesWithDialog(hwnd())) {
    preparer_.Add(chosen->paths, SizeLimit());
  }
}

void MainDialog::OnDrop(HDROP drop) {
  walk_.Walk(DroppedPaths(drop));
  ShowAddingLine();
}

void MainDialog::TakePaths(std::vector<std::wstring> paths) {
  handedPaths_.insert(handedPaths_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
  if (uiTasks_) AddHandedPaths();
}

// The sender waits while this runs: the paths are taken and their walk started on its own
// thread, so that the adding line already shows when the sender goes on.
LRESULT MainDialog::OnCopyData(const COPYDATASTRUCT& data) {
  std::optional<std::vector<std::wstring>> paths = HandedPaths(data);
  if (!paths) return FALSE;
  TakePaths(std::move(*paths));
  return TRUE;
}

// Photos added while the photo-settings page or a batch shows would change a batch the user
// has already counted; they wait for the list or the batch's end (EnterState).
void MainDialog::AddHandedPaths() {
  if (state_ == WindowState::kPhotoSettings || state_ == WindowState::kProgress) return;
  if (!walkedPictures_.empty()) preparer_.Add(std::exchange(walkedPictures_, {}), SizeLimit());
  if (!handedPaths_.empty()) {
    walk_.Walk(std::exchange(handedPaths_, {}));
    ShowAddingLine();
  }
}

// A walk ends in the photo list almost always: Upload waits for it. Handed paths walked from
// the batch's end page may come back after the user went on to the next batch's settings.
void MainDialog::AddWalkedPictures(std::vector<std::wstring> pictures) {
  if (state_ == WindowState::kPhotoSettings || state_ == WindowState::kProgress) {
    walkedPictures_.insert(walkedPictures_.end(), std::make_move_iterator(pictures.begin()),
                           std::make_move_iterator(pictures.end()));
    return;
  }
  // A walk that found nothing new leaves the line to the preparer, or takes it away.
  if (preparer_.Add(pictures, SizeLimit()) == 0) ShowAddingLine();
}

void MainDialog::PhotosAdded(unsigned count) {
  ApplyPendingTurns();
  // Only the new photos, before their cells are drawn: the others are marked already, and a list
  // of thousands would cost a history lookup for each of them at every photo added.
  MarkSentPhotos(photos_.Count() - std::min(count, photos_.Count()));
  view_.ShowAppended();
}

// The line is redrawn at once when the add starts and ends, and in between at most every
// kAddingLineMs: a static control paints itself the moment its text changes, which under load
// costs the window's thread milliseconds per photo that the user gains nothing from.
void MainDialog::AddingProgress(unsigned done, unsigned total, bool running) {
  if (running) {
    view_.AddRunning();
    taskbar_.ShowProgress(done, total);
  } else {
    pendingTurns_.clear();  // a photo not in by now is not coming
    view_.AddEnded();
    if (state_ == WindowState::kPhotoList) taskbar_.Clear();
  }
  if (running && done != 0) {
    if (!addingLineDue_) addingLineDue_ = ::SetTimer(hwnd(), kAddingLineTimer, kAddingLineMs, nullptr) != 0;
    if (addingLineDue_) return;
  }
  ShowAddingLine();
}

void MainDialog::ShowAddingLine() {
  if (addingLineDue_) ::KillTimer(hwnd(), kAddingLineTimer);
  addingLineDue_ = false;
  if (preparer_.busy()) {
    const unsigned done = preparer_.done();
    const unsigned total = preparer_.total();
    ::SetDlgItemTextW(hwnd(), ids::kAddingText,
                      (L"正在加入图片 " + std::to_wstring(done) + L"/" + std::to_wstring(total)).c_str());
    HWND bar = Item(ids::kAddingBar);
    if (::SendMessageW(bar, PBM_GETRANGE, FALSE, 0) != static_cast<LRESULT>(total)) {
      ::SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    }
    ::SendMessageW(bar, PBM_SETPOS, done, 0);
  } else if (walk_.busy()) {
    // Until the walk has found the pictures there is nothing to count.
    ::SetDlgItemTextW(hwnd(), ids::kAddingText, L"正在查找图片");
    ::SendMessageW(Item(ids::kAddingBar), PBM_SETPOS, 0, 0);
  }
  ShowAddingControls();
}

void MainDialog::ShowAddingControls() {
  const bool show = Adding() && state_ == WindowState::kPhotoList;
  for (int id : {ids::kAddingText, ids::kAddingBar, ids::kAddingStop}) {
    HWND control = Item(id);
    // The style, not IsWindowVisible: that is false for every child of a window not shown yet.
    if (show == ((::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0)) continue;
    // Stop had the focus: it goes back to the window before the button disappears.
    if (!show && ::GetFocus() == control) {
      ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(ids::kUploadButton)), TRUE);
    }
    ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
  }
}

void MainDialog::OnUpload() {
  // A photo still being prepared may have half its working copy written: nothing is sent until
  // the add has finished (or been stopped).
  if (Adding()) {
    ShowPrompt(hwnd(), L"图片正在加入，请稍候。", kNoticeCaption, MB_OK);
    return;
  }
  if (PhotoCount() == 0) {
    ShowPrompt(hwnd(), L"你尚未加入图片", kNoticeCaption, MB_OK);
    return;
  }
  if (!AskAboutSentPhotos()) return;
  EnterState(WindowState::kPhotoSettings);
}

void MainDialog::OnOk() { StartUpload(*this, session_); }

LRESULT MainDialog::OnClose() {
  if (session_.closing()) return 1;  // already decided; waiting for the batch to end
  if ((PhotoCount() != 0 || Adding()) &&
      ShowPrompt(hwnd(), L"你确定要退出程序吗？", kNoticeCaption, MB_YESNO | MB_ICONQUESTION) == IDNO) {
    return 1;
  }
  session_.Close();
  return session_.closing() ? 1 : 0;
}

// Windows ends the process after this without WM_DESTROY: what the window saves as it goes is
// saved here, or an account added in this run is gone at the next start, and the photo in flight
// would be offered again as not sent.
LRESULT MainDialog::OnEndSession(bool ending) {
  if (!ending) return 0;
  session_.SessionEnds();
  SaveSettings();
  return 0;
}

LRESULT MainDialog::OnDestroy() {
  UnmarkMainWindow(hwnd());
  // Tasks still queued would act on a window that is going; they are dropped unrun.
  if (uiTasks_) uiTasks_->Close();
  // The adding threads end before the work directories go, so no copy is written after.
  preparer_.Shutdown();
  SaveSettings();
  RemoveWorkDirectories();
  return 0;
}

// Steps carried by other parts of the program (see the header).
void MainDialog::RegisterBrowserMenuEntries() { fernwick::RegisterBrowserMenuEntries(); }
void MainDialog::SetUpPhotoSiteLink() { fernwick::SetUpPhotoSiteLink(photoSiteLink_, Item(ids::kPhotoSiteLink)); }
void MainDialog::AttachPhotoSiteLinkIfNeeded() {
  if (!photoSiteLink_.attached()) fernwick::SetUpPhotoSiteLink(photoSiteLink_, Item(ids::kPhotoSiteLink));
}
void MainDialog::LoadSettings() { fernwick::LoadSettings(accounts_); }
void MainDialog::SaveSettings() { fernwick::SaveSettings(accounts_); }
void MainDialog::RunSettingsDialog() { fernwick::RunSettingsDialog(*this); }

}  // namespace fernwick
