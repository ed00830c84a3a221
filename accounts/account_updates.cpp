#include "accounts/account_updates.h"

#include "base/core/web_pages.h"

namespace fernwick {

void ApplySignedIn(AccountHost& host, const AccountEntry& account, const SignInAnswer& answer) {
  host.accounts().SignedIn(account, answer.percent, answer.blogName);
  host.SetPhotoSiteLinkTarget(PhotoSiteHomePage());
  host.RefreshAccountDisplay();
}

}  // namespace fernwick
