; The Windows installer of Fernwick: per user, without administrator rights.
; Built by scripts/lib/make-installer.sh, which passes
;   VERSION   the release number (x.y.z) of the build
;   STAGE     the folder whose files are installed (program, logo, read-me, licences)
;   OUTFILE   the installer to write
;   SOURCE    the repository (for the icon)
;   INSTALLED the list of the staged files' Delete and their folders' RMDir lines, deepest first
Unicode true
; A 64-bit installer for the 64-bit program (and a 64-bit-only Windows or Wine can run it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define PRODUCT "Fernwick"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fernwick"
; The main window: a dialog captioned with the product's name (only one runs at a time).
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_CAPTION "Fernwick"
; The two entries the program adds to Internet Explorer's context menu.
!define FEED_MENU_KEY "Software\Microsoft\Internet Explorer\MenuExt\使用LumoraTidefeed订阅"
!define BOOKMARK_MENU_KEY "Software\Microsoft\Internet Explorer\MenuExt\添加到我的Lumora网摘"
; The verb on every picture's context menu, for this user.
!define UPLOAD_VERB_KEY "Software\Classes\SystemFileAssociations\image\shell\Fernwick"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The user's own programs folder: no administrator rights needed. An earlier installation's
; folder is taken instead, so that a new version replaces the old one in place.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 the Fernwick developers"

!define MUI_ICON "${SOURCE}/res/icon_128.ico"
!define MUI_UNICON "${SOURCE}/res/icon_128.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\fernwick.exe"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

; Files in use cannot be replaced or removed: a running program is closed by the user first.
!macro RefuseWhileRunning MESSAGE
  FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_CAPTION}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "${MESSAGE}" /SD IDOK
    Abort
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning "请先关闭 Fernwick 再安装。"
FunctionEnd

Section "Fernwick"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\fernwick.exe"
  ; Explorer's ways in: Send To passes every chosen file and folder on one command line; the
  ; verb runs the program once per selected picture (Player: up to 100 of them, where the
  ; default would stop at 15), and each start hands its picture to the first window.
  CreateShortcut "$SENDTO\${PRODUCT}.lnk" "$INSTDIR\fernwick.exe"
  WriteRegStr HKCU "${UPLOAD_VERB_KEY}" "" "用 Fernwick 上传"
  WriteRegStr HKCU "${UPLOAD_VERB_KEY}" "Icon" "$INSTDIR\fernwick.exe,0"
  WriteRegStr HKCU "${UPLOAD_VERB_KEY}" "MultiSelectModel" "Player"
  WriteRegStr HKCU "${UPLOAD_VERB_KEY}\command" "" '"$INSTDIR\fernwick.exe" "%1"'

  ; The entry under Apps & features, for this user only.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\fernwick.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless ticked: the saved accounts survive an uninstall, for a later installation. It runs
; before the program's files go: the program itself deletes its passwords from the user's
; credential store (every "Fernwick:*", "Fernwick#*:*" and "Fernwick (current):*" entry), as it
; alone knows which of the store's names are its own.
Section /o "un.同时删除设置文件（保存的帐号）" UnSettings
  ExecWait '"$INSTDIR\fernwick.exe" /forget-credentials'
  Delete "$APPDATA\Fernwick\qvpicsendst.idx"
  ; What the program leaves in the profile besides: the safe replacement's new files, the log
  ; it turned over, the journal of a batch that did not end, the accounts' upload history.
  Delete "$APPDATA\Fernwick\qvpicsendst.idx.new"
  RMDir "$APPDATA\Fernwick"
  Delete "$LOCALAPPDATA\Fernwick\fernwick.log.1"
  Delete "$LOCALAPPDATA\Fernwick\batch.journal"
  Delete "$LOCALAPPDATA\Fernwick\batch.journal.new"
  Delete "$LOCALAPPDATA\Fernwick\upload.history"
  Delete "$LOCALAPPDATA\Fernwick\upload.history.new"
SectionEnd

Section "-un.Fernwick"
  ; The folder may be one of the user's (D:\Tools, say): only the files the installer put there
  ; go, by name, and a folder only when it is empty. Nothing is ever removed recursively.
  !include "${INSTALLED}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SENDTO\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UPLOAD_VERB_KEY}"
  DeleteRegKey HKCU "${FEED_MENU_KEY}"
  DeleteRegKey HKCU "${BOOKMARK_MENU_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The log goes; the work folders are removed by the program at every close, and only
  ; empty ones are removed here (a link left in one must never be followed).
  Delete "$LOCALAPPDATA\Fernwick\fernwick.log"
  RMDir "$LOCALAPPDATA\Fernwick\qvpicsendtmp"
  RMDir "$LOCALAPPDATA\Fernwick\qvpicsendsnd"
  RMDir "$LOCALAPPDATA\Fernwick"
SectionEnd

; After the sections: it names the settings section.
Function un.onInit
  !insertmacro RefuseWhileRunning "请先关闭 Fernwick 再卸载。"
  ; A copied uninstaller acts on its own folder: one without the program is not an installation.
  ${IfNot} ${FileExists} "$INSTDIR\fernwick.exe"
    MessageBox MB_OK|MB_ICONEXCLAMATION "这个文件夹里没有 Fernwick，卸载程序不会删除任何文件。" /SD IDOK
    Abort
  ${EndIf}
  ; A silent uninstall keeps the settings unless asked with /REMOVESETTINGS.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    SectionSetFlags ${UnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
