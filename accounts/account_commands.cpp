#include "accounts/account_commands.h"

#include "accounts/account_services.h"
#include "accounts/login_dialog.h"
#include "accounts/settings_dialog.h"
#include "base/core/web_pages.h"
#include "res/main_window_ids.h"

namespace fernwick {

void RunSettingsDialog(AccountHost& host) {
  SettingsDialog dialog(host, ProductionAccountServices().signIn);
  dialog.Run(::GetActiveWindow());
}

INT_PTR RunSignInDialog(AccountHost& host) {
  LoginDialog dialog(host, true, ProductionAccountServices().signIn);
  return dialog.Run(::GetActiveWindow());
}

bool SetUpPhotoSiteLink(PictureLinkControl& link, HWND control) {
  link.SetTarget(PhotoSiteHomePage());
  if (!link.Attach(control)) return false;
  link.LoadBitmapResource(ids::kPhotoSiteBadge);
  link.SetOptions(HyperLinkControl::kImageLeft | HyperLinkControl::kMarkupInCaption | HyperLinkControl::kBoldLinkText |
                  HyperLinkControl::kLinkFontOnHover);
  return true;
}

}  // namespace fernwick
