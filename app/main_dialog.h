#pragma once
// The main window: a resizable dialog (template IDD_MAIN) that owns every other window of the
// program — the photo list and the thumbnail view that shows it, the five toolbar buttons, the
// photo-site link, the three hidden wizard pages — routes the user's commands, switches between
// its four states, lays its children out and paints its tab frame and logo. The upload batch
// belongs to its UploadSession; the window hands it the batch and applies its reports (BatchHost).
#include <windows.h>

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "accounts/account_state.h"
#include "accounts/startup_sign_in.h"
#include "app/core/window_states.h"
#include "app/done_page.h"
#include "app/photo_settings_page.h"
#include "app/progress_page.h"
#include "app/taskbar_button.h"
#include "base/ui_task.h"
#include "base/ui_thread.h"
#include "controls/dialog_base.h"
#include "base/gdiplus_handles.h"
#include "controls/image_button.h"
#include "controls/picture_link_control.h"
#include "imaging/photo_list.h"
#include "imaging/photo_preparer.h"
#include "imaging/picture_walk.h"
#include "thumbview/thumbnail_view.h"
#include "upload/batch_host.h"
#include "upload/upload_history.h"
#include "upload/upload_session.h"

namespace fernwick {

class MainDialog : public DialogBase,
                   public PhotoListObserver,
                   public PreparerObserver,
                   public AccountHost,
                   public BatchHost {
 public:
  // `prepare` makes each photo being added ready for the list (tests slow it down or hold it).
  explicit MainDialog(PhotoPreparer::PrepareFunction prepare = PreparePhoto);
  ~MainDialog() override;

  // Runs the window modally, as the program does; returns 1 after a normal close. With
  // `offerUnfinishedBatch`, once the window shows, a batch that did not end is offered back.
  INT_PTR Run(HWND owner, bool offerUnfinishedBatch = false);
  // Creates the same window modeless (tests): closing it destroys the window instead of
  // ending a modal loop. Null when the template fails.
  HWND Create(HWND parent);

  HWND hwnd() const noexcept override { return DialogBase::hwnd(); }

  // Paths handed over by the shell (the command line, a second start): added as a drop of them
  // is, once the window shows the photo list or a batch's end; until then they wait.
  void TakePaths(std::vector<std::wstring> paths);

  // Every switch of state goes through here: shows what the state shows (LookOf) and hides
  // the rest, moves the focus, and repaints. Entering the photo list lays the view out for the
  // window's size, which resizing left alone while the view was hidden.
  void EnterState(WindowState state);
  WindowState state() const noexcept { return state_; }
  // Delete and both Rotate buttons: enabled with their faces, or disabled with grey faces.
  void EnableSelectionButtons(bool enable);
  // The buttons follow the photo list's selection.
  void SelectionChanged(bool hasSelection) override { EnableSelectionButtons(hasSelection); }
  // Transfers quotaText and currentUserText to their lines, then attaches the controls that
  // are attached late (Add, Settings, the photo-site link).
  void RefreshAccountDisplay() override;
  // Transfers quotaText alone, for a batch's photo: the account and the marks stay as they are.
  void ShowQuotaLine();
  AccountState& accounts() noexcept override {
    AssertUiThread();
    return accounts_;
  }
  void SetPhotoSiteLinkTarget(const std::string& address) override { photoSiteLink_.SetTarget(address); }
  // Closes the window, after a running batch has stopped as for a confirmed close.
  void EndForUpgrade() override { session_.Close(); }

  // The journal of a batch that did not end: asks whether its photos not sent go back into
  // the list (their turns, the batch's tags and visibility with them), then removes it.
  void OfferUnfinishedBatch();

  // Photos being added in the background: they arrive in the list one after another.
  void PhotosAdded(unsigned count) override;
  // The progress line and Stop show while an add runs, on the photo list only.
  void AddingProgress(unsigned done, unsigned total, bool running) override;

  PhotoList& photos() noexcept { return photos_; }
  PhotoPreparer& preparer() noexcept { return preparer_; }
  const PictureWalk& walk() const noexcept { return walk_; }
  ThumbnailView& view() noexcept { return view_; }
  PhotoSettingsPage& settingsPage() noexcept { return settingsPage_; }
  ProgressPage& progressPage() noexcept { return progressPage_; }
  TaskbarButton& taskbar() noexcept { return taskbar_; }
  DonePage* donePage() noexcept { return donePage_.get(); }
  // Workers reach the window only through this channel; valid from initialisation on.
  std::shared_ptr<UiTaskChannel> uiTasks() const override { return uiTasks_; }

  UploadSession& uploadSession() noexcept { return session_; }

  // What each account uploaded (main_dialog_history.cpp): loaded at initialisation, a record
  // for each photo a batch sent, the grid's marks for the current account.
  UploadHistory& history() noexcept { return history_; }
  // Marks the photos of the list (from slot `fromSlot` on) the current account already sent;
  // true when a mark changed.
  bool MarkSentPhotos(std::size_t fromSlot = 0);
  void ForgetAccountHistory(const std::wstring& userName) override;

  // The toolbar button on control `id` (IDC_MAIN_ADD to IDC_MAIN_SETTINGS).
  const ImageButton& toolbarButton(int id) const;
  bool hasLogo() const noexcept { return static_cast<bool>(logo_); }
  int dpi() const noexcept { return dpi_; }
  const PictureLinkControl& photoSiteLink() const noexcept { return photoSiteLink_; }

 protected:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The number of photos in the list.
  virtual unsigned PhotoCount() const;

 private:
  // Message handlers.
  LRESULT OnInitDialog();
  LRESULT OnGetMinMaxInfo(MINMAXINFO& info);
  LRESULT OnSize(UINT kind, int width, int height);
  LRESULT OnDestroy();
  // WM_ENDSESSION; `ending` when the user's session ends (log-off, shut-down): what must outlive
  // the process is written now.
  LRESULT OnEndSession(bool ending);
  LRESULT OnPaint();
  LRESULT OnClose();
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnDpiChanged(int dpi, const RECT& suggested);
  std::optional<LRESULT> OnCommand(int id);
  void OnAdd();
  void OnDrop(HDROP drop);
  LRESULT OnCopyData(const COPYDATASTRUCT& data);
  void AddHandedPaths();
  void AddWalkedPictures(std::vector<std::wstring> pictures);
  // An add runs: folders are walked or photos prepared.
  bool Adding() const noexcept { return walk_.busy() || preparer_.busy(); }
  void OnUpload();
  // Upload's question about photos the account already sent (main_dialog_history.cpp): false
  // when the user keeps them back and no other photo is left to send.
  bool AskAboutSentPhotos();
  void ShowAddingLine();
  void ShowAddingControls();
  void OnOk();

  // Initialisation steps.
  void SetWindowIcons();
  void SetUpToolbar();
  // The toolbar faces and the photo-site badge in their drawings for the window's DPI.
  void LoadDpiPictures();
  void CreateView();
  void CreatePages();
  void ApplyLayout(int width, int height);
  void PaintTabFrame(HDC dc, const RECT& client) const;
  // The thumbnail view placed and its grid laid out for a client area of this size.
  void PlaceView(int width, int height);
  HWND PartWindow(StatePart part);
  HWND FocusWindow(StateFocus focus);

  ImageButton& Button(int id);

  // Steps carried by other parts of the program, each called at its place in the window's life.
  void RegisterBrowserMenuEntries();
  void SetUpPhotoSiteLink();
  void AttachPhotoSiteLinkIfNeeded();
  // False, with a beep and the focus on the line, when the text could not be set.
  bool ShowLineText(int id, const std::wstring& text);
  void LoadSettings();
  void SaveSettings();
  void RunSettingsDialog();

  // The upload batch's calls on this window (main_dialog_batch.cpp), on the UI thread.
  void EnableOkAndBack(bool enable) noexcept override;
  void CloseWindow() noexcept override;
  BatchSnapshot TakeBatch() override;
  void ApplyBatchReport(const BatchReport& report) override;
  // Photos put back from an unfinished batch get their turns as they enter the list.
  void ApplyPendingTurns();

  PhotoList photos_;
  ThumbnailView view_{photos_};  // holds on to photos_, declared before it
  // Goes before the list and the view: its threads are joined and its results dropped first.
  PhotoPreparer preparer_;
  // Drops and handed paths are walked before the preparer takes the pictures they hold.
  PictureWalk walk_;
  PhotoSettingsPage settingsPage_;
  ProgressPage progressPage_;
  TaskbarButton taskbar_;
  std::unique_ptr<DonePage> donePage_;
  AccountState accounts_;
  // Add, Delete, Rotate left, Rotate right, Settings (IDC_MAIN_ADD to IDC_MAIN_SETTINGS).
  std::array<ImageButton, 5> toolbar_;
  GpBitmapPtr logo_;
  std::shared_ptr<UiTaskChannel> uiTasks_;
  PictureLinkControl photoSiteLink_;
  StartupSignIn startupSignIn_;
  UploadSession session_;
  WindowState state_ = WindowState::kPhotoList;  // the template's own
  int dpi_ = 96;                                 // the window's; every pixel figure of the layout is scaled to it
  bool modal_ = false;
  bool offerUnfinishedBatch_ = false;
  UploadHistory history_;
  // The next batch leaves the photos sent before in the list.
  bool keepSentPhotos_ = false;
  std::map<std::wstring, int> pendingTurns_;  // source path to degrees, until the photo is in
  // TakePaths's, and pictures found in them, while a batch is prepared or runs.
  std::vector<std::wstring> handedPaths_;
  std::vector<std::wstring> walkedPictures_;
  bool selectionButtonsEnabled_ = true;
  bool wheelForwarding_ = false;
  // The adding line waits for its timer (AddingProgress): four times a second keeps the count
  // moving, at a few milliseconds of the window's time each.
  static constexpr UINT_PTR kAddingLineTimer = 1;
  static constexpr UINT kAddingLineMs = 250;
  bool addingLineDue_ = false;
  // While a batch is sent, the taskbar button looks for a transfer that stands still.
  static constexpr UINT_PTR kStillTimer = 2;
  static constexpr UINT kStillCheckMs = 1000;
};

}  // namespace fernwick
