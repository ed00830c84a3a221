#include "accounts/account_commands.h"

#include "accounts/core/account_texts.h"
#include "accounts/login_dialog.h"
#include "accounts/settings_dialog.h"
#include "base/core/dpi_scale.h"
#include "base/core/web_pages.h"
#include "base/prompt.h"
#include "base/window_dpi.h"
#include "res/main_window_ids.h"

namespace fernwick {

void RunSettingsDialog(AccountHost& host) {
  SettingsDialog dialog(host, ProductionAccountServices());
  dialog.Run(::GetActiveWindow());
}

INT_PTR RunLoginDialog(AccountHost& host, const AccountServices& services) {
  LoginDialog dialog(host, true, services);
  // The current account without its password (the store did not give it at start): its name is
  // there, the password is asked for.
  if (host.accounts().currentPassword().empty()) dialog.SetUserName(host.accounts().currentUserName());
  return dialog.Run(::GetActiveWindow());
}

void CheckSignInBeforeBatch(AccountHost& host, const AccountServices& services, std::function<bool()> stillWanted,
                            std::function<void(bool signedIn)> done) {
  const AccountState& state = host.accounts();
  if (state.currentUserName().empty() || state.currentPassword().empty()) {
    return done(RunLoginDialog(host, services) == IDOK);
  }
  // The answer runs through the host's own channel, so the host is still there when it does.
  SignInInBackground(
      services, host.uiTasks(), AccountEntry{state.currentUserName(), state.currentPassword()},
      [&host, services, stillWanted = std::move(stillWanted), done = std::move(done)](const SignInAnswer& answer) {
        if (stillWanted && !stillWanted()) return done(false);
        switch (answer.result) {
          case kResultOk:
            // The quota line is the batch's to show; the token is the batch's own to get.
            host.accounts().KeepBlogName(answer.blogName);
            return done(true);
          case kResultRefused:
            ShowPrompt(host.hwnd(), SignInFailureText(answer.result), kNoticeCaption, MB_OK);
            return done(RunLoginDialog(host, services) == IDOK);
          default:
            ShowPrompt(host.hwnd(), SignInFailureText(answer.result), kNoticeCaption, MB_OK);
            return done(false);
        }
      });
}

bool SetUpPhotoSiteLink(PictureLinkControl& link, HWND control) {
  link.SetTarget(PhotoSiteHomePage());
  if (!link.Attach(control)) return false;
  // The badge drawn nearest to the window's DPI, so that it is never stretched.
  link.LoadBitmapResource(BitmapIdForDpi(ids::kPhotoSiteBadge, WindowDpi(control)));
  link.SetOptions(HyperLinkControl::kImageLeft | HyperLinkControl::kMarkupInCaption | HyperLinkControl::kBoldLinkText |
                  HyperLinkControl::kLinkFontOnHover);
  return true;
}

}  // namespace fernwick
