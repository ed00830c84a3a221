// Resource and control ids, read both by the resource scripts (windres) and by the code, so
// each number is written once. Plain #defines with an include guard: the resource compiler
// understands nothing else. The C++ names (ids::kOkButton, ProgressPage::kCancelButton ...)
// are aliases of these.
//
// Control ids belong to one template each; the same number means different controls in
// different templates (1008 is Upload in the main window, the tags field on the photo
// settings page and the user name in the login dialog).
#ifndef FERNWICK_RES_RESOURCE_H
#define FERNWICK_RES_RESOURCE_H

// Main window: icon, template and its controls.
#define IDI_WINDOW 128
#define IDD_MAIN 129
#define IDC_MAIN_ADD 1003
#define IDC_MAIN_DELETE 1004
#define IDC_MAIN_ROTATE_LEFT 1005
#define IDC_MAIN_ROTATE_RIGHT 1006
#define IDC_MAIN_SETTINGS 1007
#define IDC_MAIN_UPLOAD 1008
#define IDC_MAIN_QUOTA 1009
#define IDC_MAIN_CURRENT_USER 1010
#define IDC_MAIN_BACK 1011
#define IDC_MAIN_OK 1017
#define IDC_MAIN_PHOTO_SITE_LINK 1025
// Shown only while photos are being added.
#define IDC_MAIN_ADDING_TEXT 1030
#define IDC_MAIN_ADDING_BAR 1031
#define IDC_MAIN_ADDING_STOP 1032

// Bitmaps: toolbar faces (enabled, disabled) and the photo-site badge.
#define IDB_ADD 212
#define IDB_DELETE 213
#define IDB_ROTATE_LEFT 214
#define IDB_ROTATE_RIGHT 215
#define IDB_SETTINGS 216
#define IDB_PHOTO_SITE_BADGE 222
#define IDB_DELETE_DISABLED 228
#define IDB_ROTATE_LEFT_DISABLED 231
#define IDB_ROTATE_RIGHT_DISABLED 232
// The same drawn for 150 % (N + 100) and 200 % (N + 200) screens.
#define IDB_ADD_150 312
#define IDB_DELETE_150 313
#define IDB_ROTATE_LEFT_150 314
#define IDB_ROTATE_RIGHT_150 315
#define IDB_SETTINGS_150 316
#define IDB_PHOTO_SITE_BADGE_150 322
#define IDB_DELETE_DISABLED_150 328
#define IDB_ROTATE_LEFT_DISABLED_150 331
#define IDB_ROTATE_RIGHT_DISABLED_150 332
#define IDB_ADD_200 412
#define IDB_DELETE_200 413
#define IDB_ROTATE_LEFT_200 414
#define IDB_ROTATE_RIGHT_200 415
#define IDB_SETTINGS_200 416
#define IDB_PHOTO_SITE_BADGE_200 422
#define IDB_DELETE_DISABLED_200 428
#define IDB_ROTATE_LEFT_DISABLED_200 431
#define IDB_ROTATE_RIGHT_DISABLED_200 432

// Upload wizard page: photo settings.
#define IDD_PHOTO_SETTINGS 203
#define IDC_PHOTO_TAGS 1008
#define IDC_PHOTO_PUBLIC 1009
#define IDC_PHOTO_FRIENDS_ONLY 1010
#define IDC_PHOTO_PRIVATE 1011

// Upload wizard page: progress.
#define IDD_PROGRESS 206
#define IDC_PROGRESS_UPPER_BAR 1017
#define IDC_PROGRESS_OVERALL_BAR 1018
#define IDC_PROGRESS_CANCEL 1019
#define IDC_PROGRESS_STATUS 1020

// Upload wizard page: done.
#define IDD_DONE 207
#define IDC_DONE_BACK 1011
#define IDC_DONE_VIEW_PHOTOS 1023
#define IDC_DONE_VIEW_LINK 1027

// Settings dialog; OK and Cancel are IDOK and IDCANCEL.
#define IDD_SETTINGS 201
#define IDC_SETTINGS_ADD_USER 1007
#define IDC_SETTINGS_LIMIT 1009
#define IDC_SETTINGS_NO_SCALING 1010
#define IDC_SETTINGS_ACCOUNTS 1012
#define IDC_SETTINGS_DELETE_USER 1013
#define IDC_SETTINGS_SIZES 1015
#define IDC_SETTINGS_PASSWORDS 1019

// Login dialog; OK and Cancel are IDOK and IDCANCEL.
#define IDD_LOGIN 202
#define IDC_LOGIN_USER_NAME 1008
#define IDC_LOGIN_PASSWORD 1020
#define IDC_LOGIN_REGISTER_LINK 1026

#endif  // FERNWICK_RES_RESOURCE_H
