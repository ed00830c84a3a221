#pragma once
// The main window's resource and control ids under C++ names; the numbers are in resource.h,
// which the resource scripts read too.
#include "res/resource.h"

namespace fernwick::ids {

inline constexpr int kMainDialog = IDD_MAIN;
inline constexpr int kWindowIcon = IDI_WINDOW;

// Controls of the main window's template.
inline constexpr int kAddButton = IDC_MAIN_ADD;
inline constexpr int kDeleteButton = IDC_MAIN_DELETE;
inline constexpr int kRotateLeftButton = IDC_MAIN_ROTATE_LEFT;
inline constexpr int kRotateRightButton = IDC_MAIN_ROTATE_RIGHT;
inline constexpr int kSettingsButton = IDC_MAIN_SETTINGS;
inline constexpr int kUploadButton = IDC_MAIN_UPLOAD;
inline constexpr int kQuotaLine = IDC_MAIN_QUOTA;
inline constexpr int kCurrentUserLine = IDC_MAIN_CURRENT_USER;
inline constexpr int kBackButton = IDC_MAIN_BACK;
inline constexpr int kOkButton = IDC_MAIN_OK;
inline constexpr int kPhotoSiteLink = IDC_MAIN_PHOTO_SITE_LINK;
// Shown only while photos are being added.
inline constexpr int kAddingText = IDC_MAIN_ADDING_TEXT;
inline constexpr int kAddingBar = IDC_MAIN_ADDING_BAR;
inline constexpr int kAddingStop = IDC_MAIN_ADDING_STOP;

// Bitmaps: toolbar faces (enabled, disabled) and the photo-site badge.
inline constexpr int kAddFace = IDB_ADD;
inline constexpr int kDeleteFace = IDB_DELETE;
inline constexpr int kRotateLeftFace = IDB_ROTATE_LEFT;
inline constexpr int kRotateRightFace = IDB_ROTATE_RIGHT;
inline constexpr int kSettingsFace = IDB_SETTINGS;
inline constexpr int kPhotoSiteBadge = IDB_PHOTO_SITE_BADGE;
inline constexpr int kDeleteFaceDisabled = IDB_DELETE_DISABLED;
inline constexpr int kRotateLeftFaceDisabled = IDB_ROTATE_LEFT_DISABLED;
inline constexpr int kRotateRightFaceDisabled = IDB_ROTATE_RIGHT_DISABLED;
// The larger drawings are found by number (BitmapIdForDpi): N + 100 and N + 200.
static_assert(IDB_ADD_150 == IDB_ADD + 100 && IDB_ADD_200 == IDB_ADD + 200);
static_assert(IDB_DELETE_150 == IDB_DELETE + 100 && IDB_DELETE_200 == IDB_DELETE + 200);
static_assert(IDB_ROTATE_LEFT_150 == IDB_ROTATE_LEFT + 100 && IDB_ROTATE_LEFT_200 == IDB_ROTATE_LEFT + 200);
static_assert(IDB_ROTATE_RIGHT_150 == IDB_ROTATE_RIGHT + 100 && IDB_ROTATE_RIGHT_200 == IDB_ROTATE_RIGHT + 200);
static_assert(IDB_SETTINGS_150 == IDB_SETTINGS + 100 && IDB_SETTINGS_200 == IDB_SETTINGS + 200);
static_assert(IDB_PHOTO_SITE_BADGE_150 == IDB_PHOTO_SITE_BADGE + 100 &&
              IDB_PHOTO_SITE_BADGE_200 == IDB_PHOTO_SITE_BADGE + 200);
static_assert(IDB_DELETE_DISABLED_150 == IDB_DELETE_DISABLED + 100 &&
              IDB_DELETE_DISABLED_200 == IDB_DELETE_DISABLED + 200);
static_assert(IDB_ROTATE_LEFT_DISABLED_150 == IDB_ROTATE_LEFT_DISABLED + 100 &&
              IDB_ROTATE_LEFT_DISABLED_200 == IDB_ROTATE_LEFT_DISABLED + 200);
static_assert(IDB_ROTATE_RIGHT_DISABLED_150 == IDB_ROTATE_RIGHT_DISABLED + 100 &&
              IDB_ROTATE_RIGHT_DISABLED_200 == IDB_ROTATE_RIGHT_DISABLED + 200);

// The upload wizard pages.
inline constexpr int kPhotoSettingsPage = IDD_PHOTO_SETTINGS;
inline constexpr int kProgressPage = IDD_PROGRESS;
inline constexpr int kDonePage = IDD_DONE;

}  // namespace fernwick::ids
