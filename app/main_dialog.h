#pragma once
// The main window: a resizable dialog (template 129) that owns every other window of the
// program — the photo list and the thumbnail view that shows it, the five toolbar buttons, the photo-site
// link, the three hidden wizard pages — routes the user's commands, switches between the
// photo list and the wizard, lays its children out and paints its tab frame and logo.
#include <windows.h>

#include <array>
#include <memory>

#include "accounts/account_state.h"
#include "accounts/startup_sign_in.h"
#include "app/done_page.h"
#include "app/photo_settings_page.h"
#include "app/progress_page.h"
#include "base/ui_task.h"
#include "controls/dialog_base.h"
#include "base/gdiplus_handles.h"
#include "controls/image_button.h"
#include "controls/picture_link_control.h"
#include "imaging/photo_list.h"
#include "thumbview/thumbnail_view.h"

namespace fernwick {

class MainDialog : public DialogBase, public PhotoListObserver, public AccountHost {
 public:
  MainDialog();
  ~MainDialog() override;

  // Runs the window modally, as the program does; returns 1 after a normal close.
  INT_PTR Run(HWND owner);
  // Creates the same window modeless (tests): closing it destroys the window instead of
  // ending a modal loop. Null when the template fails.
  HWND Create(HWND parent);

  HWND hwnd() const noexcept override { return DialogBase::hwnd(); }

  // With `show`: the photo list (view, toolbar, Upload, user line, photo-site link); without:
  // the photo-settings page with OK and Back. Moves the focus to Upload or OK.
  void ShowPhotoListPage(bool show);
  // Delete and both Rotate buttons: enabled with their faces, or disabled with grey faces.
  void EnableSelectionButtons(bool enable);
  // The buttons follow the photo list's selection.
  void SelectionChanged(bool hasSelection) override { EnableSelectionButtons(hasSelection); }
  // Transfers quotaText and currentUserText to their lines, then attaches the controls that
  // are attached late (Add, Settings, the photo-site link).
  void RefreshAccountDisplay() override;
  AccountState& accounts() noexcept override { return accounts_; }
  void SetPhotoSiteLinkTarget(const std::string& address) override { photoSiteLink_.SetTarget(address); }
  // Closes the window, after a running batch has stopped as for a confirmed close.
  void EndForUpgrade() override { CloseAfterBatch(); }

  PhotoList& photos() noexcept { return photos_; }
  ThumbnailView& view() noexcept { return view_; }
  PhotoSettingsPage& settingsPage() noexcept { return settingsPage_; }
  ProgressPage& progressPage() noexcept { return progressPage_; }
  DonePage* donePage() noexcept { return donePage_.get(); }
  // Workers reach the window only through this channel; valid from initialisation on.
  std::shared_ptr<UiTaskChannel> uiTasks() const override { return uiTasks_; }

  // The user confirmed closing while a batch ran: the batch stops and the window closes once
  // the worker has ended (UploadEnded).
  bool closeRequestedDuringUpload() const noexcept { return closeAfterUpload_; }
  // The upload worker's last step, on the UI thread.
  void UploadEnded();

  // The toolbar button on control `id` (1003 to 1007).
  const ImageButton& toolbarButton(int id) const;
  bool hasLogo() const noexcept { return static_cast<bool>(logo_); }

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
  LRESULT OnPaint();
  LRESULT OnClose();
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnCommand(int id);
  void OnAdd();
  void OnUpload();
  void OnOk();

  // Initialisation steps.
  void SetWindowIcons();
  void SetUpToolbar();
  void CreateView();
  void CreatePages();
  void ApplyLayout(int width, int height);
  void PaintTabFrame(HDC dc, const RECT& client) const;
  void CloseWindow();
  // CloseWindow now, or, while a batch runs, once the worker has ended (UploadEnded).
  void CloseAfterBatch();

  ImageButton& Button(int id);

  // Steps carried by other parts of the program, each called at its place in the window's life.
  void RegisterBrowserMenuEntries();
  void SetUpPhotoSiteLink();
  void AttachPhotoSiteLinkIfNeeded();
  void LoadSettings();
  void SaveSettings();
  void RunSettingsDialog();
  void StartUploadCommand();

  PhotoList photos_;
  ThumbnailView view_{photos_};  // holds on to photos_, declared before it
  PhotoSettingsPage settingsPage_;
  ProgressPage progressPage_;
  std::unique_ptr<DonePage> donePage_;
  AccountState accounts_;
  // Add, Delete, Rotate left, Rotate right, Settings (controls 1003 to 1007).
  std::array<ImageButton, 5> toolbar_;
  GpBitmapPtr logo_;
  std::shared_ptr<UiTaskChannel> uiTasks_;
  PictureLinkControl photoSiteLink_;
  StartupSignIn startupSignIn_;
  bool modal_ = false;
  bool selectionButtonsEnabled_ = true;
  bool wheelForwarding_ = false;
  bool closeAfterUpload_ = false;
};

}  // namespace fernwick
