; The hvr installer for 64-bit Windows. makensis is given:
;   VERSION  the program's version
;   SOURCE   the folder of the portable build (hvr.exe, hvr-cli.exe, Qt beside them)
;   FILES    an include of the "File" lines of that folder, and UNFILES of the "Delete" and
;            "RMDir" lines that take exactly those files away again
;   OUTFILE  the installer to write
Unicode true
; A 64-bit installer, as the program is: it runs where only 64-bit programs run.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"
!include "StrFunc.nsh"
${StrStr}
${UnStrRep}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\hvr"

Name "hvr ${VERSION}"
Caption "hvr ${VERSION} 安装"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\hvr"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "hvr ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "hvr"
VIAddVersionKey /LANG=2052 "FileDescription" "hvr ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright 2026 hvr developers"

!define MUI_ICON "${SOURCE}/hvr.ico"
!define MUI_UNICON "${SOURCE}/hvr.ico"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\hvr.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "hvr 需要 64 位的 Windows。" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "hvr 与 hvr-cli" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\hvr"
  CreateShortcut "$SMPROGRAMS\hvr\hvr.lnk" "$INSTDIR\hvr.exe" "" "$INSTDIR\hvr.exe" 0
  CreateShortcut "$SMPROGRAMS\hvr\卸载 hvr.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "hvr ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\hvr.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "hvr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; hvr-cli from any command prompt: the folder appended to the system's PATH.
Section /o "把 hvr-cli 加入 PATH" SecPath
  ReadRegStr $0 HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Environment" "Path"
  ${StrStr} $1 "$0;" "$INSTDIR;"
  ${If} $1 == ""
    WriteRegExpandStr HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Environment" "Path" "$0;$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "OnPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
SectionEnd

Section "Uninstall"
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\hvr\hvr.lnk"
  Delete "$SMPROGRAMS\hvr\卸载 hvr.lnk"
  RMDir "$SMPROGRAMS\hvr"

  ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "OnPath"
  ${If} $1 == 1
    ReadRegStr $0 HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Environment" "Path"
    ${UnStrRep} $0 $0 ";$INSTDIR" ""
    WriteRegExpandStr HKLM "SYSTEM\CurrentControlSet\Control\Session Manager\Environment" "Path" "$0"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
