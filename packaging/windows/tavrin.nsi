; The Windows installer: the client and its three tag badges into
; Program Files\Tavrin, a Start-menu shortcut, and an uninstaller registered
; with the system's list of installed programs.
;   makensis -DVERSION=0.1 -DBIN=<build>/bin -DICON=<repo>/res/icon.ico -DOUTFILE=<setup.exe> tavrin.nsi
Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define APPNAME "特卖商品Tavrin"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"

Name "${APPNAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tavrin"
BrandingText "${APPNAME} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Tavrin"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BIN}/tavrin.exe"
  SetOutPath "$INSTDIR\res"
  File "${BIN}/res/xp.jpg"
  File "${BIN}/res/rm.jpg"
  File "${BIN}/res/xl.jpg"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\tavrin.exe" "" "$INSTDIR\tavrin.exe" 0
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\tavrin.exe,0"
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  Delete "$INSTDIR\res\xp.jpg"
  Delete "$INSTDIR\res\rm.jpg"
  Delete "$INSTDIR\res\xl.jpg"
  RMDir "$INSTDIR\res"
  Delete "$INSTDIR\tavrin.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
