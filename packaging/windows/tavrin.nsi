; The Windows installer: the client and its three tag badges, a Start-menu
; shortcut and an uninstaller registered with the system's list of installed
; programs, either for all users (Program Files, HKLM, administrator rights)
; or for the current user alone (%LOCALAPPDATA%\Programs, HKCU, no rights).
;   makensis -DVERSION=0.1 -DFILEVERSION=0.1.0.0 -DBIN=<stage> -DICON=<repo>/res/icon.ico
;            -DURL=http://<catalogue host>/kestrid/ -DOUTFILE=<setup.exe> [-DSIGN=<command>] tavrin.nsi
; Switches: /S (silent), /AllUsers, /CurrentUser, /D=<folder> (last).
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 Windows too old, 4 no
; administrator rights for an install for all users, 5 the client runs,
; 6 a file or registry value could not be written or removed (an upgrade
; then leaves the older version as it was), 7 an older installation
; elsewhere could not be removed.
Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma
; Administrators are asked to elevate and may choose either install; other
; users install for themselves.
RequestExecutionLevel highest
; A file that cannot be written (the client running) fails the install
; instead of being skipped.
AllowSkipFiles off

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinVer.nsh"

!define APPNAME "特卖商品Tavrin"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
; The client's main window class, the same in every version so far.
!define FORMCLASS "TavrinForm"

Name "${APPNAME}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"

!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"' = 0
  !finalize '${SIGN} "%1"' = 0
!endif

Var Mode        ; "all" or "user"
Var ModeSwitch  ; 1 when /AllUsers or /CurrentUser chose the mode
Var Admin       ; 1 when running with administrator rights
Var GivenDir    ; the folder /D= named
Var OldDir      ; the folder the chosen mode's installation has now
Var Replacing   ; 1 while the installed files are set aside for the new ones
Var PrevVersion ; the version installed in the folder before, "" for none
Var PrevSize
Var AllRadio
Var UserRadio

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
Page custom ModePage ModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${FILEVERSION}"
VIFileVersion "${FILEVERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "Tavrin"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${APPNAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "© 2026 Tavrin"

; Stops with an error box (answered OK when silent) and exit code CODE.
!macro Fail CODE TEXT
  DetailPrint "${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${CODE}
  Abort
!macroend

; The files an installation has, by their place in its folder. During an
; upgrade the installed ones wait in ${PREVIOUS} (same volume, so setting
; aside and putting back are renames that need no space) until the new ones
; are all written.
!define PREVIOUS "~previous"
!macro EachInstalledFile MACRO
  !insertmacro ${MACRO} "tavrin.exe"
  !insertmacro ${MACRO} "uninstall.exe"
  !insertmacro ${MACRO} "res\xp.jpg"
  !insertmacro ${MACRO} "res\rm.jpg"
  !insertmacro ${MACRO} "res\xl.jpg"
!macroend
!macro SetAside FILE
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    Rename "$INSTDIR\${FILE}" "$INSTDIR\${PREVIOUS}\${FILE}"
  ${EndIf}
!macroend
!macro PutBack FILE
  Delete "$INSTDIR\${FILE}"
  ${If} ${FileExists} "$INSTDIR\${PREVIOUS}\${FILE}"
    Rename "$INSTDIR\${PREVIOUS}\${FILE}" "$INSTDIR\${FILE}"
  ${EndIf}
!macroend

; After a copy that failed part-way (a full disk, a file that cannot be
; written): what it wrote goes and what was set aside comes back. Without an
; earlier version here, nothing is left: no folder, shortcut or key.
Function PutBackPrevious
  ${If} $Replacing != 1
    Return
  ${EndIf}
  StrCpy $Replacing 0
  !insertmacro EachInstalledFile PutBack
  RMDir "$INSTDIR\${PREVIOUS}\res"
  RMDir "$INSTDIR\${PREVIOUS}"
  ${If} $PrevVersion == ""
    Delete "$SMPROGRAMS\${APPNAME}.lnk"
    DeleteRegKey SHCTX "${UNINSTKEY}"
    ; The working folder cannot be removed.
    SetOutPath "$TEMP"
    RMDir "$INSTDIR\res"
    RMDir "$INSTDIR"
  ${Else}
    WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" $PrevVersion
    WriteRegDWORD SHCTX "${UNINSTKEY}" "EstimatedSize" $PrevSize
  ${EndIf}
FunctionEnd

; A file that cannot be written aborts the install from inside NSIS.
Function .onInstFailed
  ${If} $Replacing = 1
    Call PutBackPrevious
    SetErrorLevel 6
  ${EndIf}
FunctionEnd

; The client running is found by its window (any copy, any version) or by
; its file in the folder being held open by Windows for a running program
; (a client of another user, or one still starting). The user may close it
; and retry; silently, or on Cancel, the run ends with exit code 5 before
; anything was changed.
!macro CloseClientFunction UN
Function ${UN}CloseClient
  Push $0
  ${Do}
    FindWindow $0 "${FORMCLASS}"
    ${If} $0 = 0
      ${IfNot} ${FileExists} "$INSTDIR\tavrin.exe"
        ${Break}
      ${EndIf}
      ClearErrors
      FileOpen $0 "$INSTDIR\tavrin.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APPNAME} 正在运行。请先关闭它，再点击“重试”；点击“取消”则放弃。" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 5
    Quit
    retry:
  ${Loop}
  Pop $0
FunctionEnd
!macroend
!insertmacro CloseClientFunction ""
!insertmacro CloseClientFunction "un."

; The folder without a trailing backslash, as the registry keeps it.
!macro TrimFolderFunction UN
Function ${UN}TrimFolder
  Exch $0
  Push $1
  ${Do}
    StrCpy $1 $0 1 -1
    ${If} $1 != "\"
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro TrimFolderFunction ""
!insertmacro TrimFolderFunction "un."

; The mode's context, its installation's folder and the folder to use: the
; one /D= gave, else the one installed before, else the mode's default.
Function ApplyMode
  ${If} $Mode == "all"
    SetShellVarContext all
    ReadRegStr $OldDir HKLM "${UNINSTKEY}" "InstallLocation"
    StrCpy $INSTDIR "$PROGRAMFILES64\Tavrin"
  ${Else}
    SetShellVarContext current
    ReadRegStr $OldDir HKCU "${UNINSTKEY}" "InstallLocation"
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tavrin"
  ${EndIf}
  ${If} $GivenDir != ""
    StrCpy $INSTDIR $GivenDir
  ${ElseIf} $OldDir != ""
    StrCpy $INSTDIR $OldDir
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  ; Windows 7 SP1 is build 7601; every later Windows has a higher build.
  ${IfNot} ${AtLeastWin7}
  ${OrIfNot} ${AtLeastBuild} 7601
    MessageBox MB_OK|MB_ICONSTOP "${APPNAME} 需要 64 位 Windows 7 SP1 或更高版本。" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  StrCpy $Admin 0
  ${If} $0 == "Admin"
    StrCpy $Admin 1
  ${EndIf}
  StrCpy $GivenDir $INSTDIR
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $Mode "all"
    StrCpy $ModeSwitch 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $Mode "user"
    StrCpy $ModeSwitch 1
  ${EndIf}
  ; Without a switch: the installation there is (an administrator's first
  ; choice the one for all users), else all users for an administrator,
  ; else the current user.
  ${If} $Mode == ""
    ReadRegStr $0 HKLM "${UNINSTKEY}" "InstallLocation"
    ReadRegStr $1 HKCU "${UNINSTKEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $Admin = 1
      StrCpy $Mode "all"
    ${ElseIf} $1 != ""
      StrCpy $Mode "user"
    ${ElseIf} $Admin = 1
      StrCpy $Mode "all"
    ${Else}
      StrCpy $Mode "user"
    ${EndIf}
  ${EndIf}
  ${If} $Mode == "all"
  ${AndIf} $Admin != 1
    MessageBox MB_OK|MB_ICONSTOP "为所有用户安装${APPNAME}需要管理员权限。" /SD IDOK
    SetErrorLevel 4
    Quit
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function ModePage
  ${If} $ModeSwitch = 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "选择安装方式" "为这台电脑的所有用户安装${APPNAME}，或只为您自己安装。"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateRadioButton} 0 0 100% 14u "为所有用户安装（装入 Program Files，需要管理员权限）"
  Pop $AllRadio
  ${NSD_CreateRadioButton} 0 22u 100% 14u "只为我安装（装入您的用户文件夹，不需要管理员权限）"
  Pop $UserRadio
  ${If} $Admin != 1
    EnableWindow $AllRadio 0
  ${EndIf}
  ${If} $Mode == "all"
    ${NSD_Check} $AllRadio
  ${Else}
    ${NSD_Check} $UserRadio
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $AllRadio $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $Mode "all"
  ${Else}
    StrCpy $Mode "user"
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function DirectoryLeave
  Call CloseClient
FunctionEnd

Section "Tavrin"
  Push $INSTDIR
  Call TrimFolder
  Pop $INSTDIR
  Call CloseClient
  ${If} $Mode == "all"
    DetailPrint "为所有用户安装到 $INSTDIR"
  ${Else}
    DetailPrint "只为当前用户安装到 $INSTDIR"
  ${EndIf}
  ; The same mode's installation in another folder is removed first, so
  ; there is one installation of each mode at most. Its uninstaller runs in
  ; place (_?=) so its exit code is its own.
  ${If} $OldDir != ""
  ${AndIf} $OldDir != $INSTDIR
  ${AndIf} ${FileExists} "$OldDir\uninstall.exe"
    DetailPrint "卸载 $OldDir 中的${APPNAME}"
    ClearErrors
    ExecWait '"$OldDir\uninstall.exe" /S _?=$OldDir' $0
    ${If} ${Errors}
    ${OrIf} $0 <> 0
      !insertmacro Fail 7 "无法卸载 $OldDir 中的${APPNAME}（代码 $0）。"
    ${EndIf}
    ; Older uninstallers leave themselves behind when run in place.
    Delete "$OldDir\uninstall.exe"
    RMDir "$OldDir"
  ${EndIf}
  ; The version this folder holds, whose files are set aside below.
  ReadRegStr $PrevVersion SHCTX "${UNINSTKEY}" "DisplayVersion"
  ReadRegDWORD $PrevSize SHCTX "${UNINSTKEY}" "EstimatedSize"
  ${IfNot} ${FileExists} "$INSTDIR\tavrin.exe"
    StrCpy $PrevVersion ""
  ${EndIf}
  ; Left by an install that was cut off (the power failing): this run
  ; writes every file anew.
  RMDir /r "$INSTDIR\${PREVIOUS}"
  ClearErrors
  CreateDirectory "$INSTDIR\${PREVIOUS}\res"
  StrCpy $Replacing 1
  !insertmacro EachInstalledFile SetAside
  ${If} ${Errors}
    Call PutBackPrevious
    !insertmacro Fail 6 "无法替换 $INSTDIR 中的文件。"
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${BIN}/tavrin.exe"
  SetOutPath "$INSTDIR\res"
  File "${BIN}/res/xp.jpg"
  File "${BIN}/res/rm.jpg"
  File "${BIN}/res/xl.jpg"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\tavrin.exe" "" "$INSTDIR\tavrin.exe" 0
  ${If} ${Errors}
    Call PutBackPrevious
    !insertmacro Fail 6 "无法写入 $INSTDIR 或开始菜单。"
  ${EndIf}
  ; The new files' size: the folder's less what waits in ${PREVIOUS}.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$INSTDIR\${PREVIOUS}" "/S=0K" $3 $1 $2
  IntOp $0 $0 - $3
  ClearErrors
  ; SHCTX is HKLM for all users, HKCU for the current user.
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\tavrin.exe,0"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "Tavrin"
  WriteRegStr SHCTX "${UNINSTKEY}" "URLInfoAbout" "${URL}"
  WriteRegDWORD SHCTX "${UNINSTKEY}" "EstimatedSize" $0
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  ; In place (_?=), so a silent uninstall's exit code is its own.
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
  ${If} ${Errors}
    Call PutBackPrevious
    !insertmacro Fail 6 "无法写入注册表项 ${UNINSTKEY}。"
  ${EndIf}
  StrCpy $Replacing 0
  RMDir /r "$INSTDIR\${PREVIOUS}"
SectionEnd

Function un.onInit
  SetRegView 64
  Push $INSTDIR
  Call un.TrimFolder
  Pop $INSTDIR
  ; /cleanup: the copy an uninstaller that ran in place left in TEMP,
  ; removing that uninstaller and its folder once it has ended.
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/cleanup" $R1
  ${IfNot} ${Errors}
    ${For} $0 1 100
      Delete "$INSTDIR\uninstall.exe"
      ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        ${Break}
      ${EndIf}
      Sleep 100
    ${Next}
    RMDir "$INSTDIR"
    Delete /REBOOTOK "$EXEPATH"
    Quit
  ${EndIf}
  Call un.CloseClient
FunctionEnd

Section "Uninstall"
  ; The installation this uninstaller belongs to: the registered one whose
  ; folder it is. An unregistered folder loses its files only.
  StrCpy $Mode ""
  ReadRegStr $0 HKLM "${UNINSTKEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${UNINSTKEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $Mode "all"
    SetShellVarContext all
  ${ElseIf} $1 == $INSTDIR
    StrCpy $Mode "user"
    SetShellVarContext current
  ${EndIf}
  Call un.CloseClient
  ; The program first: while it cannot go, nothing else does.
  ClearErrors
  Delete "$INSTDIR\tavrin.exe"
  ${If} ${Errors}
    !insertmacro Fail 6 "无法删除 $INSTDIR\tavrin.exe。"
  ${EndIf}
  Delete "$INSTDIR\res\xp.jpg"
  Delete "$INSTDIR\res\rm.jpg"
  Delete "$INSTDIR\res\xl.jpg"
  RMDir "$INSTDIR\res"
  RMDir /r "$INSTDIR\${PREVIOUS}"
  ${If} $Mode != ""
    Delete "$SMPROGRAMS\${APPNAME}.lnk"
    ${If} $Mode == "all"
      DeleteRegKey HKLM "${UNINSTKEY}"
    ${Else}
      DeleteRegKey HKCU "${UNINSTKEY}"
    ${EndIf}
  ${EndIf}
  ${If} ${Errors}
    !insertmacro Fail 6 "无法删除 $INSTDIR 中的文件或注册表项 ${UNINSTKEY}。"
  ${EndIf}
  ; Running in place, the uninstaller cannot delete itself: a copy in TEMP
  ; does once this process has ended. Copies left by earlier runs go first.
  ${If} $EXEDIR == $INSTDIR
    Delete "$TEMP\~tavrin-uninstall-*.exe"
    GetTempFileName $0
    Delete $0
    ${un.GetBaseName} $0 $1
    StrCpy $0 "$TEMP\~tavrin-uninstall-$1.exe"
    CopyFiles /SILENT "$EXEPATH" $0
    Exec '"$0" /S /cleanup _?=$INSTDIR'
  ${Else}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
