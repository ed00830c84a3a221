#pragma once
// What the main window calls for accounts: the settings command, the sign-in before an upload,
// and the picture link on IDC_MAIN_PHOTO_SITE_LINK. The requests are the real ones to the
// upload server.
#include <windows.h>

#include <functional>

#include "accounts/account_services.h"
#include "accounts/account_state.h"
#include "controls/picture_link_control.h"

namespace fernwick {

// Command IDC_MAIN_SETTINGS: the settings dialog, modal, owned by the active window; its result is of no
// interest to the caller.
void RunSettingsDialog(AccountHost& host);

// The login dialog with signInOnly set, modal, owned by the active window. IDOK when an
// account is now signed in and current.
INT_PTR RunLoginDialog(AccountHost& host, const AccountServices& services);

// OK's check before a batch, on the UI thread. Nobody signed in: the login dialog, and `done`
// runs before this returns. Otherwise the current account is signed in once more on a worker
// (its blog name kept) and `done` runs when the answer arrives: refused means the message and
// the login dialog, no connection the message alone. `stillWanted` is asked first when the
// answer arrives; false ends the check quietly with done(false). Answers that arrive after the
// host's window has gone are dropped, and `done` never runs then.
void CheckSignInBeforeBatch(AccountHost& host, const AccountServices& services, std::function<bool()> stillWanted,
                            std::function<void(bool signedIn)> done);

// Attaches `link` to `control` (IDC_MAIN_PHOTO_SITE_LINK) with IDB_PHOTO_SITE_BADGE as its face,
// leading to the photo site's home page, with the options the main window uses. False when it could not attach.
bool SetUpPhotoSiteLink(PictureLinkControl& link, HWND control);

}  // namespace fernwick
