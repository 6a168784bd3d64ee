; The Varo installer: the three programs into "Program Files\Varo", a
; Start-menu shortcut to VaroSetting, an entry in Add/Remove Programs and an
; uninstaller. scripts/package.sh builds it:
;   makensis -DVARO_VERSION=2.8.0 -DVARO_BIN=<programs> -DVARO_OUT=<setup.exe> varo.nsi
;
; The program folder must be named "Varo": the programs derive their settings
; folder (%APPDATA%\kestrel\varo), their shortcut names and their context-menu
; entry name from it, and only that name carries no suffix.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef VARO_VERSION
  !error "give -DVARO_VERSION=x.y.z"
!endif
!ifndef VARO_BIN
  !error "give -DVARO_BIN=<folder of the built programs>"
!endif
!ifndef VARO_OUT
  !error "give -DVARO_OUT=<installer file>"
!endif

!define PRODUCT "Varo"
!define PUBLISHER "KESTREL"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varo"
!define UNINSTALLER "uninstall.exe"
!define COPY_TOOL "VaroSelect.exe"
; The context-menu entry of a folder named "Varo": the program name, no suffix.
!define CONTEXT_MENU_ENTRY "VaroSelect"
!define SETTINGS_FOLDER "kestrel\varo"
!define SETTING_SHORTCUT "VaroSetting.lnk"

; Shell link and its file interface, for reading a shortcut's target.
!define CLSID_ShellLink "{00021401-0000-0000-C000-000000000046}"
!define IID_IShellLinkW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPersistFile "{0000010B-0000-0000-C000-000000000046}"
!define CLSCTX_INPROC_SERVER 1
!define STGM_READ 0

Name "${PRODUCT} ${VARO_VERSION}"
OutFile "${VARO_OUT}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VARO_VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${__FILEDIR__}\..\select\ui\varo.ico"
!define MUI_UNICON "${__FILEDIR__}\..\select\ui\varo.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartSettingText)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartSettingAsUser
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; English first: the language of every system that is not Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString StartSettingText ${LANG_ENGLISH} "Open VaroSetting to register Send-To and the context menu"
LangString StartSettingText ${LANG_JAPANESE} "VaroSetting を開いて「送る」とコンテキストメニューに登録する"
LangString NeedAdminText ${LANG_ENGLISH} "Please run the setup with administrator rights."
LangString NeedAdminText ${LANG_JAPANESE} "セットアップは管理者権限で実行してください。"
LangString RemoveSettingsText ${LANG_ENGLISH} "Also remove my settings"
LangString RemoveSettingsText ${LANG_JAPANESE} "設定も削除する"
LangString RemoveSettingsInfo ${LANG_ENGLISH} "Deletes %APPDATA%\${SETTINGS_FOLDER} with varo.ini. Leave it unticked to keep the settings for a later installation."
LangString RemoveSettingsInfo ${LANG_JAPANESE} "%APPDATA%\${SETTINGS_FOLDER} (varo.ini) を削除します。再インストール時に設定を使う場合はチェックしないでください。"

VIProductVersion "${VARO_VERSION}.0"
VIFileVersion "${VARO_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VARO_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VARO_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

Function .onInit
  Call RequireAdmin
  Call KeepFolderNamedVaro
FunctionEnd

Function un.onInit
  Call un.RequireAdmin
FunctionEnd

; The context-menu entries are machine-wide and the programs go into Program
; Files: both need an administrator.
!macro RequireAdminBody
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP|MB_OK "$(NeedAdminText)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend
Function RequireAdmin
  !insertmacro RequireAdminBody
FunctionEnd
Function un.RequireAdmin
  !insertmacro RequireAdminBody
FunctionEnd

; A folder given with /D that is not named "Varo" gets a "Varo" folder
; inside it, so the installation keeps the standard settings folder and names.
Function KeepFolderNamedVaro
  ${GetFileName} "$INSTDIR" $0
  ${If} $0 != "${PRODUCT}"
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${EndIf}
FunctionEnd

; The installer runs elevated; Explorer starts the settings dialog as the
; signed-in user, whose Send-To folder and desktop it registers into.
Function StartSettingAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\VaroSetting.exe"'
FunctionEnd

Section "-Programs"
  SetOutPath "$INSTDIR"
  ; Overwriting in place: an upgrade keeps the settings folder, varo_bk.ini
  ; and the shortcuts and menu entries, which all point at the same paths.
  File "${VARO_BIN}\VaroSelect.exe"
  File "${VARO_BIN}\VaroSetting.exe"
  File "${VARO_BIN}\VaroUAC.exe"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${SETTING_SHORTCUT}" "$INSTDIR\VaroSetting.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VARO_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\VaroSetting.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---- uninstaller

; The target path of the shortcut file on the stack, "" when it cannot be
; read. NSIS has no command for it, so the shell link object is asked through
; the System plugin, as the settings application itself does.
Function un.ShortcutTarget
  Exch $0 ; the shortcut file
  Push $1 ; IShellLinkW
  Push $2 ; IPersistFile
  Push $3 ; the target
  Push $4 ; HRESULT
  StrCpy $3 ""
  System::Call "ole32::CoCreateInstance(g '${CLSID_ShellLink}', p 0, i ${CLSCTX_INPROC_SERVER}, g '${IID_IShellLinkW}', *p .r1) i .r4"
  ${If} $4 = 0
    System::Call "$1->0(g '${IID_IPersistFile}', *p .r2) i .r4" ; QueryInterface
    ${If} $4 = 0
      System::Call "$2->5(w r0, i ${STGM_READ}) i .r4" ; IPersistFile::Load
      ${If} $4 = 0
        System::Call "$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r4" ; IShellLinkW::GetPath
        ${If} $4 <> 0 ; S_FALSE: no path
          StrCpy $3 ""
        ${EndIf}
      ${EndIf}
      System::Call "$2->2()" ; Release
    ${EndIf}
    System::Call "$1->2()" ; Release
  ${EndIf}
  StrCpy $0 $3
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Deletes the shortcuts of any name in the folder on the stack whose target
; is this installation's copy tool (the settings application finds its
; shortcuts the same way; the user may have renamed them).
Function un.RemoveCopyToolShortcuts
  Exch $0 ; the folder
  Push $1 ; search handle
  Push $2 ; file name
  Push $3 ; target
  FindFirst $1 $2 "$0\*.lnk"
  ${DoWhile} $2 != ""
    Push "$0\$2"
    Call un.ShortcutTarget
    Pop $3
    ${If} $3 == "$INSTDIR\${COPY_TOOL}" ; compared without regard to case
      Delete "$0\$2"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Deletes the context-menu entry under the root on the stack ("*\shell",
; "Folder\shell") of the machine's classes, where VaroUAC writes it, when its
; command starts this installation's copy tool;
; an entry of another copy in a folder named "Varo" stays.
Function un.RemoveContextMenuEntry
  Exch $0 ; the root
  Push $1
  ReadRegStr $1 HKLM "Software\Classes\$0\${CONTEXT_MENU_ENTRY}\Command" ""
  ${If} $1 == '"$INSTDIR\${COPY_TOOL}" "%1"'
    DeleteRegKey HKLM "Software\Classes\$0\${CONTEXT_MENU_ENTRY}"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Section "-un.Programs"
  SetShellVarContext current
  Push $SENDTO
  Call un.RemoveCopyToolShortcuts
  Push $DESKTOP
  Call un.RemoveCopyToolShortcuts
  Push "*\shell"
  Call un.RemoveContextMenuEntry
  Push "Folder\shell"
  Call un.RemoveContextMenuEntry

  SetShellVarContext all
  Delete "$SMPROGRAMS\${SETTING_SHORTCUT}"

  Delete "$INSTDIR\VaroSelect.exe"
  Delete "$INSTDIR\VaroSetting.exe"
  Delete "$INSTDIR\VaroUAC.exe"
  ; Written by the programs beside themselves: the settings seed and the debug log.
  Delete "$INSTDIR\varo_bk.ini"
  Delete "$INSTDIR\varo_debug.log"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: files the user put into the folder are not ours to delete.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(RemoveSettingsText)" UnSectionSettings
  SetShellVarContext current
  RMDir /r "$APPDATA\${SETTINGS_FOLDER}"
  RMDir "$APPDATA\kestrel" ; only when no other installation keeps settings there
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSectionSettings} "$(RemoveSettingsInfo)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
