#pragma once
// What the main window calls for accounts: the settings command, the login before an upload,
// and the picture link on control 1025. The requests are the real ones to the upload server.
#include <windows.h>

#include "accounts/account_state.h"
#include "controls/picture_link_control.h"

namespace fernwick {

// Command 1007: the settings dialog, modal, owned by the active window; its result is of no
// interest to the caller.
void RunSettingsDialog(AccountHost& host);

// Signing in before an upload when nobody is: the login dialog with signInOnly set, owned by
// the active window. IDOK when an account is now signed in and current.
INT_PTR RunSignInDialog(AccountHost& host);

// Attaches `link` to `control` (static 1025) with bitmap 222 as its face, leading to the photo
// site's home page, with the options the main window uses. False when it could not attach.
bool SetUpPhotoSiteLink(PictureLinkControl& link, HWND control);

}  // namespace fernwick
