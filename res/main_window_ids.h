#pragma once
// Resource and control ids of the main window (main_window.rc beside this file).

namespace fernwick::ids {

inline constexpr int kMainDialog = 129;
inline constexpr int kWindowIcon = 128;

// Controls of template 129.
inline constexpr int kAddButton = 1003;
inline constexpr int kDeleteButton = 1004;
inline constexpr int kRotateLeftButton = 1005;
inline constexpr int kRotateRightButton = 1006;
inline constexpr int kSettingsButton = 1007;
inline constexpr int kUploadButton = 1008;
inline constexpr int kQuotaLine = 1009;
inline constexpr int kCurrentUserLine = 1010;
inline constexpr int kBackButton = 1011;
inline constexpr int kOkButton = 1017;
inline constexpr int kPhotoSiteLink = 1025;

// Bitmaps: toolbar faces (enabled, disabled) and the photo-site badge.
inline constexpr int kAddFace = 212;
inline constexpr int kDeleteFace = 213;
inline constexpr int kRotateLeftFace = 214;
inline constexpr int kRotateRightFace = 215;
inline constexpr int kSettingsFace = 216;
inline constexpr int kPhotoSiteBadge = 222;
inline constexpr int kDeleteFaceDisabled = 228;
inline constexpr int kRotateLeftFaceDisabled = 231;
inline constexpr int kRotateRightFaceDisabled = 232;

// The upload wizard pages.
inline constexpr int kPhotoSettingsPage = 203;
inline constexpr int kProgressPage = 206;
inline constexpr int kDonePage = 207;

}  // namespace fernwick::ids
